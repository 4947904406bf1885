// Speed of the conversion job's two hot operations, each as a ratio against a
// floor measured in the same run on the same machine:
// - WriteScript for a long list, and for one of many files of one name, against
//   writing the very same bytes in one call through the same platform (the least
//   work that gives the same file);
// - ComputeEstimate, against formatting the two label texts with snprintf alone.
// A ratio above its limit fails the run, so a slowdown shows as a failure rather
// than as a number nobody reads.
#include "job/ConversionScript.h"
#include "job/Estimate.h"
#include "job/JobPlatform.h"
#include "job/JobSettings.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The best of several rounds, in seconds: the least disturbed measurement.
template <class F>
double BestOf(int rounds, F&& work)
{
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const Clock::time_point start = Clock::now();
        work();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (seconds < best)
            best = seconds;
    }
    return best;
}

bool Report(const char* name, double measured, double floor, double limit)
{
    const double ratio = measured / floor;
    const bool ok = ratio <= limit;
    std::printf("%-34s %10.3f ms  floor %10.3f ms  ratio %6.2f  (limit %.1f) %s\n", name,
                measured * 1e3, floor * 1e3, ratio, limit, ok ? "ok" : "TOO SLOW");
    return ok;
}

// WriteScript for files paths made by pathOf(i), two-pass, against writing the
// same bytes in one call.
template <class TPathOf>
bool BenchWriteScript(const std::string& folder, const char* name, int files, TPathOf pathOf)
{
    std::vector<TText> paths;
    for (int i = 0; i < files; ++i) {
        char path[96];
        pathOf(path, sizeof path, i);
        paths.push_back(path);
    }
    TJobSettings job;
    InitJobSettings(job);
    job.FlickPath = "C:\\Program Files\\DVD Flick\\";
    job.OutputFolder = TText(folder.c_str()) + "/";
    job.ScriptPath = job.OutputFolder + "convert.bat";
    job.FileCount = files;
    TJobPlatform& platform = SystemJobPlatform();

    const double measured = BestOf(5, [&] {
        const TScriptResult result = WriteScript(job, "16:9", "PAL", "6000", false, true,
                                                 paths.data(), files, platform);
        if (!result.Succeeded())
            std::abort();
    });

    std::ifstream in(job.ScriptPath.CStr(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const TText floorPath = job.OutputFolder + "floor.bat";
    const double floor = BestOf(5, [&] {
        if (platform.CreateOutput(floorPath) != 0 ||
            platform.WriteOutput(bytes.data(), static_cast<int>(bytes.size())) != 0 ||
            platform.CloseOutput() != 0)
            std::abort();
    });
    std::printf("convert.bat for %d files: %zu bytes\n", files, bytes.size());
    return Report(name, measured, floor, 40.0);
}

bool BenchEstimate()
{
    const int rounds = 20000;
    TJobSettings job;
    InitJobSettings(job);
    TText label43, label85;
    volatile int sink = 0;
    const double measured = BestOf(5, [&] {
        for (int i = 0; i < rounds; ++i) {
            job.BitrateText = (i & 1) ? "6000" : "9000";
            ComputeEstimate(job, label43, label85);
            sink = sink + label43.Length();
        }
    });
    const double floor = BestOf(5, [&] {
        char a[64], b[64];
        for (int i = 0; i < rounds; ++i) {
            std::snprintf(a, sizeof a, "DVD 4,3 GB: %d Hr %d min %d sec", 1, i & 63, 40);
            std::snprintf(b, sizeof b, "DVD 8,5 GB: %d Hr %d min %d sec", 1, i & 63, 57);
            sink = sink + a[13] + b[13];
        }
    });
    return Report("ComputeEstimate x20000", measured, floor, 10.0);
}

} // namespace

int main()
{
    char folder[] = "/tmp/spindrel-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 2;
    // Every file of a DVD's copy is named alike: each repeat of a name is numbered.
    const bool ok =
        BenchWriteScript(folder, "WriteScript, 2000 files, two-pass", 2000,
                         [](char* path, size_t size, int i) {
                             std::snprintf(path, size, "D:\\Video\\Holiday %d\\clip.part%d.avi", i % 50, i);
                         }) &
        BenchWriteScript(folder, "WriteScript, 10000 of one name", 10000,
                         [](char* path, size_t size, int i) {
                             std::snprintf(path, size, "D:\\DVD %d\\VIDEO_TS\\VTS_01_1.VOB", i);
                         }) &
        BenchEstimate();
    std::system((std::string("rm -rf '") + folder + "'").c_str());
    std::printf("%s\n", ok ? "all benchmarks within their limits" : "some benchmarks too slow");
    return ok ? 0 : 1;
}
