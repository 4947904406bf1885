// The program as its users feel it: start-up, memory, "Start" with long lists,
// adding many files at once, a long run in one process, the processor time while a
// conversion runs and the window's answers while the lengths of many files are
// read. Each figure is set against a floor measured in the same run and checked
// against its goal; the results are written as Markdown for tools/run-bench.sh to
// put into the report.
//
//   program_bench REPORT.md SPINDREL.EXE BENCH-FOLDER [FIGURE...]
//
// BENCH-FOLDER holds what the build puts beside the program for the benchmarks:
// the floors floor_window.exe, floor_form.exe and floor_dialog.exe, the encoder
// stand-in ffmpeg.exe and drop_hook.dll.
// FIGURE is any of startup, lists, drops, longrun, held, lengths (all when none is
// named). The exit code is 0 when every goal is met, 1 when one is missed, 2 when a
// figure could not be measured. The run works in C:\spindrel-bench, writes
// C:\convert.bat (the program's default output folder) and puts the recording
// encoder stand-in into C:\Program Files\DVD Flick (its default DVD Flick folder);
// it removes all three before and after.
#include "ProgramDriverWin32.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

const char* const WorkFolder = "C:\\spindrel-bench";
const char* const EncoderLog = "C:\\spindrel-bench\\ffmpeg.log";
// While it exists, the stand-in holds an input whose path holds "held".
const char* const EncoderHold = "C:\\spindrel-bench\\ffmpeg.log.hold";
const char* const FlickFolder = "C:\\Program Files\\DVD Flick";
const char* const Script = "C:\\convert.bat";

const int StartUpRuns = 11;
const int StartRuns = 5;
const int DropRuns = 5;
const int LongRunStarts = 500;
const int LongRunCycles = 1000;
const int HeldSeconds = 60;
const int LengthFiles = 1000;

struct TBench {
    std::string Program, Floor, FormFloor, DialogFloor, Encoder, DropHook;
    FILE* Report = nullptr;
    bool Missed = false;
};

// The median of a set of measurements, and its smallest and largest member.
struct TSpread {
    double Median = 0, Min = 0, Max = 0;
};

TSpread Spread(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return {n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2, values.front(), values.back()};
}

std::string Format(const char* format, ...)
{
    char text[2048];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

std::string Ms(const TSpread& s)
{
    return Format("%.1f ms (%.1f to %.1f)", s.Median * 1e3, s.Min * 1e3, s.Max * 1e3);
}

std::string MB(double bytes) { return Format("%.2f MB", bytes / (1024 * 1024)); }
std::string SignedMB(double bytes) { return Format("%+.2f MB", bytes / (1024 * 1024)); }

// Written through at once, so that a run that stops keeps what it measured.
void Write(TBench& bench, const std::string& text)
{
    std::fputs(text.c_str(), bench.Report);
    std::fflush(bench.Report);
}

// Where a long run stands, on the error stream, every step-th of count steps.
void Progress(const char* what, int done, int count, int step)
{
    if (done % step == 0 || done == count)
        std::fprintf(stderr, "program_bench: %s %d of %d\n", what, done, count);
}

// One line that says whether a goal was met, and by how much it was missed.
void Goal(TBench& bench, const std::string& goal, bool met, const std::string& miss)
{
    if (!met)
        bench.Missed = true;
    Write(bench, "Goal: " + goal + ": " + (met ? std::string("**met**") : "**missed** by " + miss) + ".\n\n");
}

//--- The files the user lists

// Input file number n, in folders of a hundred: the open-file dialog shows the
// folder of the file chosen last, which is thus of an ordinary size.
std::string VideoPath(int n)
{
    return Format("%s\\Videos\\Holiday %03d\\Clip %05d from the camera.avi", WorkFolder, n / 100, n);
}

// Each holds the length that the encoder stand-in reports for it.
void MakeVideoFile(const std::string& path)
{
    const char length[] = "Duration: 00:01:40.00\r\n";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, length, sizeof length - 1, &written, nullptr))
        throw std::runtime_error("cannot make " + path);
    CloseHandle(file);
}

void MakeVideoFiles(int count)
{
    for (int n = 0; n < count; ++n) {
        const std::string path = VideoPath(n);
        if (n % 100 == 0)
            CreateDirectoryA(path.substr(0, path.rfind('\\')).c_str(), nullptr);
        MakeVideoFile(path);
    }
}

std::vector<std::string> VideoPaths(int first, int count)
{
    std::vector<std::string> paths;
    for (int n = first; n < first + count; ++n)
        paths.push_back(VideoPath(n));
    return paths;
}

// Lists files number first to first + count - 1 the fastest way the program
// offers: dropped a thousand at a time where it accepts drops, else one by one
// through "Add Video File".
void AddVideos(TBench& bench, TProgram& program, int first, int count)
{
    for (int n = first; n < first + count;) {
        if (program.AcceptsDrops()) {
            const int batch = std::min(1000, first + count - n);
            program.DropFiles(VideoPaths(n, batch), bench.DropHook);
            n += batch;
        } else {
            program.AddFileByDialog(VideoPath(n++));
        }
        Progress("listing file", n - first, count, 500);
    }
}

//--- The run's own files

void RemoveTree(const std::string& path)
{
    std::string from = path + '\0';
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        SHFileOperationA(&operation);
}

void RemoveLeftovers()
{
    RemoveTree(WorkFolder);
    RemoveTree(Script);
    RemoveTree(FlickFolder);
    DeleteFileA(EncoderHold);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int EncoderCalls()
{
    const std::string log = ReadFile(EncoderLog);
    return static_cast<int>(std::count(log.begin(), log.end(), '\n') / 2);
}

//--- Starting the programs

// The main window, of the program or of the floor that makes it without the layer,
// is ready once it is shown with both estimate labels filled.
bool EstimateShown(const TProgram& program)
{
    return IsWindowVisible(program.MainWindow()) &&
           gui::Text(program.Control(Dvd43LabelId)).size() > std::strlen("DVD 4,3 GB:") &&
           gui::Text(program.Control(Dvd85LabelId)).size() > std::strlen("DVD 8,5 GB:");
}

double LaunchProgram(const std::string& exe, TProgram& program)
{
    return program.Launch(exe, "Spindrel", [&] { return EstimateShown(program); });
}

double LaunchProgram(TBench& bench, TProgram& program)
{
    return LaunchProgram(bench.Program, program);
}

// The lengths line once no file waits to be read.
std::string LengthsRead(const TProgram& program)
{
    const std::string text = gui::Text(program.Control(LengthsLabelId));
    return text.rfind("Reading lengths", 0) == 0 ? std::string() : text;
}

// Start-up time and memory of one run of the program or of a floor: the one-window
// floor is ready once its window is visible.
void MeasureStartUp(TBench& bench, const std::string& exe, std::vector<double>& seconds,
                    std::vector<double>& privateBytes, std::vector<double>& workingSet)
{
    TProgram program;
    seconds.push_back(exe == bench.Floor ? program.Launch(exe, "Floor", [] { return true; })
                                         : LaunchProgram(exe, program));
    program.Sync();
    const TMemorySample memory = program.Memory();
    privateBytes.push_back(memory.PrivateBytes);
    workingSet.push_back(memory.WorkingSet);
    program.Close();
}

//--- Figures

struct TFloorMemory {
    double PrivateBytes = 0, WorkingSet = 0;
};

// Start-up and memory after start-up of the two floors and of the program, in
// turn, after one warm-up run of each. Answers the memory of the floor that makes
// the main window without the layer, against which the goals are set.
TFloorMemory StartUp(TBench& bench)
{
    const char* names[3] = {"floor (a class, one window)", "floor: the main window without the layer",
                            "spindrel.exe"};
    const std::string exes[3] = {bench.Floor, bench.FormFloor, bench.Program};
    std::vector<double> seconds[3], privateBytes[3], workingSet[3];
    for (int run = 0; run <= StartUpRuns; ++run) {
        for (int which = 0; which < 3; ++which) {
            if (run == 1) {
                seconds[which].clear();
                privateBytes[which].clear();
                workingSet[which].clear();
            }
            MeasureStartUp(bench, exes[which], seconds[which], privateBytes[which], workingSet[which]);
        }
        Progress("start-up round", run, StartUpRuns, 5);
    }
    TSpread time[3], privates[3], working[3];
    Write(bench, Format("### Start-up\n\nFrom process start to the main window visible with both estimate labels "
                        "filled (the one-window floor: its window visible); %d runs each, in turn, after one "
                        "warm-up run. Memory as the system reports it once the window is up (medians). The floor "
                        "without the layer makes the same main window (class style, menu, the 27 controls with "
                        "their styles, places, font, items and texts, the estimate labels filled) with direct "
                        "Win32 calls and handles nothing but closing: what any program with this window pays. The "
                        "goals are set against it; the one-window floor shows what any window costs under "
                        "Wine.\n\n",
                        StartUpRuns));
    Write(bench, "| program | start-up, median (min to max) | private bytes | working set |\n|---|---|---|---|\n");
    for (int which = 0; which < 3; ++which) {
        time[which] = Spread(seconds[which]);
        privates[which] = Spread(privateBytes[which]);
        working[which] = Spread(workingSet[which]);
        Write(bench, Format("| %s | %s | %s | %s |\n", names[which], Ms(time[which]).c_str(),
                            MB(privates[which].Median).c_str(), MB(working[which].Median).c_str()));
    }
    const double ratio = time[2].Median / time[1].Median;
    Write(bench, Format("\nStart-up: %.2f x the floor without the layer (the one-window floor: %.2f x; the floor "
                        "without the layer against it: %.2f x). ",
                        ratio, time[2].Median / time[0].Median, time[1].Median / time[0].Median));
    Goal(bench, "start-up at most 1.10 x the floor without the layer", ratio <= 1.10,
         Format("%.2f x that floor", ratio - 1.10));

    const double privateExtra = privates[2].Median - privates[1].Median;
    const double workingExtra = working[2].Median - working[1].Median;
    const double allowance = 0.5 * 1024 * 1024;
    Write(bench, "Memory after start-up, above the floor without the layer: private bytes " + MB(privateExtra) +
                     ", working set " + MB(workingExtra) + ". ");
    Goal(bench, "memory after start-up at most the floor without the layer + 0.5 MB, in private bytes and in "
                "working set",
         privateExtra <= allowance && workingExtra <= allowance,
         "private bytes " + MB(std::max(0.0, privateExtra - allowance)) + ", working set " +
             MB(std::max(0.0, workingExtra - allowance)));
    return {privates[1].Median, working[1].Median};
}

// One "Start" timed from the click until the window is minimised, which the
// program does once the script is written and handed to the shell.
double TimedStart(TProgram& program)
{
    const double clicked = program.ClickInFront(program.Control(StartButtonId));
    std::string message;
    WaitFor("the window to be minimised after \"Start\"", [&] {
        message = program.MessageShown();
        return !message.empty() || IsIconic(program.MainWindow()) != FALSE;
    });
    if (!message.empty())
        throw std::runtime_error("\"Start\" showed \"" + message + "\" instead of minimising the window");
    return Now() - clicked;
}

// The least work with the same result: the same bytes written in one call and
// a batch file handed to the shell; "@exit" first, so that the floor's own
// script ends at once.
double FloorStart(const std::string& bytes)
{
    const std::string path = std::string(WorkFolder) + "\\floor.bat";
    const std::string content = "@exit\r\n" + bytes;
    const double start = Now();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    CloseHandle(file) &&
                    reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, path.c_str(), nullptr, nullptr,
                                                            SW_SHOWNORMAL)) > 32;
    const double seconds = Now() - start;
    if (!ok)
        throw std::runtime_error("the floor could not write and launch " + path);
    FinishScripts(GetCurrentProcessId(), false, 60000);
    return seconds;
}

// Memory and "Start" at 1,000 and 10,000 listed files, in one process. The
// script each "Start" launches is ended once the window is minimised: its
// twenty thousand encoder runs are no part of what is measured. The program reads
// the lengths of the listed files meanwhile, as it does for its users.
void LongLists(TBench& bench, const TFloorMemory& floor)
{
    TProgram program;
    LaunchProgram(bench, program);
    Write(bench, "### Long lists\n\n");
    std::string memoryRows, startRows;
    bool startMet = true;
    std::string startMiss;
    for (int files : {1000, 10000}) {
        const double fillStart = Now();
        AddVideos(bench, program, program.ListCount(), files - program.ListCount());
        const double fillSeconds = Now() - fillStart;
        program.Sync();
        const TMemorySample memory = program.Memory();
        memoryRows += Format("| %d files | %s | %s | %s | %s |\n", files, MB(memory.PrivateBytes).c_str(),
                             SignedMB(memory.PrivateBytes - floor.PrivateBytes).c_str(),
                             MB(memory.WorkingSet).c_str(), SignedMB(memory.WorkingSet - floor.WorkingSet).c_str());
        std::vector<double> measured, floors;
        for (int run = 0; run <= StartRuns; ++run) {
            const double seconds = TimedStart(program);
            program.EndScripts();
            program.AnswerMessage();   // the stopped conversion's report
            const double floorSeconds = FloorStart(ReadFile(Script));
            if (run > 0) {
                measured.push_back(seconds);
                floors.push_back(floorSeconds);
            }
        }
        const TSpread start = Spread(measured), least = Spread(floors);
        startRows += Format("| %d files | %s | %s | %.1f | %.0f s |\n", files, Ms(start).c_str(), Ms(least).c_str(),
                            start.Median / least.Median, fillSeconds);
        if (files == 10000 && start.Median > 0.2) {
            startMet = false;
            startMiss = Format("%.0f ms", (start.Median - 0.2) * 1e3);
        }
    }
    Write(bench, "Memory with the list filled, against the floor without the layer after start-up (the program "
                 "reads the listed files' lengths in the background meanwhile):\n\n"
                 "| list | private bytes | above the floor | working set | above the floor |\n|---|---|---|---|---|\n" +
                     memoryRows + "\n");
    Write(bench, Format("\"Start\" (two-pass), from the click to the window minimised (script written and handed "
                        "to the shell), %d runs after one warm-up; the floor writes the same bytes in one call and "
                        "hands a batch file to the shell. The list was filled %s.\n\n",
                        StartRuns,
                        program.AcceptsDrops() ? "by dropping 1,000 files at a time"
                                               : "one file at a time through \"Add Video File\" (the program "
                                                 "takes no dropped files yet)"));
    Write(bench, "| list | \"Start\", median (min to max) | floor | ratio | filling the list from the row above |\n"
                 "|---|---|---|---|---|\n" +
                     startRows + "\n");
    Goal(bench, "\"Start\" with 10,000 files at most 0.2 s", startMet, startMiss);
    program.Close();
}

// Dropping 1,000 new files on lists of 0, 1,000 and 10,000 files, in a fresh
// process each run; the time per file at 0 is the floor of the other two. The
// dropped files are numbered from 10,000 on, apart from those that fill the list.
void Drops(TBench& bench)
{
    Write(bench, "### Adding 1,000 files at once\n\n");
    {
        TProgram probe;
        LaunchProgram(bench, probe);
        const bool accepts = probe.AcceptsDrops();
        probe.Close();
        if (!accepts) {
            Write(bench, "Not measured: no window of spindrel.exe accepts dropped files yet.\n\n");
            return;
        }
    }
    const int sizes[3] = {0, 1000, 10000};
    std::vector<double> perFile[3];
    for (int run = 0; run <= DropRuns; ++run) {
        TProgram program;
        LaunchProgram(bench, program);
        for (int i = 0; i < 3; ++i) {
            AddVideos(bench, program, 0, sizes[i] - program.ListCount());
            const double seconds = program.DropFiles(VideoPaths(10000 + 1000 * i, 1000), bench.DropHook);
            if (run > 0)
                perFile[i].push_back(seconds / 1000);
        }
        program.Close();
    }
    Write(bench, Format("From the drop until the list holds the 1,000 new files; %d runs after one warm-up, each "
                        "in a fresh process.\n\n| list before the drop | per file, median (min to max) | against "
                        "the empty list |\n|---|---|---|\n",
                        DropRuns));
    const TSpread empty = Spread(perFile[0]);
    double worst = 1;
    for (int i = 0; i < 3; ++i) {
        const TSpread s = Spread(perFile[i]);
        worst = std::max(worst, s.Median / empty.Median);
        Write(bench, Format("| %d files | %.3f ms (%.3f to %.3f) | %.2f x |\n", sizes[i], s.Median * 1e3,
                            s.Min * 1e3, s.Max * 1e3, s.Median / empty.Median));
    }
    Write(bench, "\n");
    Goal(bench, "adding 1,000 files at once as fast per file on a long list as on the empty one (at most 1.5 x)", worst <= 1.5,
         Format("%.2f x", worst - 1.5));
}

struct TLongRunSample {
    int Windows = 0;
    DWORD User = 0, Gdi = 0, GuiError = 0;
    bool GuiReported = false;
    TMemorySample Memory;
};

TLongRunSample Sample(const TProgram& program)
{
    program.Sync();
    TLongRunSample sample;
    sample.Windows = program.WindowCount();
    sample.GuiReported = program.GuiObjects(sample.User, sample.Gdi, sample.GuiError);
    sample.Memory = program.Memory();
    return sample;
}

// The script has ended once its interpreter has and both passes of its one
// file have been recorded; the program then reports it in a message, closed here.
void StartAndWaitForScript(TProgram& program)
{
    const int calls = EncoderCalls();
    TimedStart(program);
    program.WaitForScripts();
    WaitFor("the script to run the encoder twice", [&] { return EncoderCalls() == calls + 2; });
    program.AnswerMessage();
}

void AddAndRemove(TProgram& program, const std::string& path)
{
    program.AddFileByDialog(path);
    program.RemoveLastFile();
}

// The memory of the dialog floor before and after the dialog cycles of the long
// run, after the same warm-up: the file chosen each time, never listed.
std::pair<TMemorySample, TMemorySample> DialogCycles(TBench& bench, const std::string& path)
{
    TProgram floor;
    floor.Launch(bench.DialogFloor, "Floor", [] { return true; });
    for (int i = 0; i < 10; ++i)
        floor.ChooseInFileDialog(path);
    floor.Sync();
    const TMemorySample before = floor.Memory();
    for (int i = 1; i <= LongRunCycles; ++i) {
        floor.ChooseInFileDialog(path);
        Progress("dialog floor cycle", i, LongRunCycles, 250);
    }
    floor.Sync();
    const TMemorySample after = floor.Memory();
    floor.Close();
    return {before, after};
}

// 500 "Start"s, each script run to its end by the recording encoder stand-in,
// then 1,000 cycles of adding a file through the dialog and removing it; and the
// same dialog cycles in the dialog floor.
void LongRun(TBench& bench)
{
    TProgram program;
    LaunchProgram(bench, program);
    program.AddFileByDialog(VideoPath(0));
    const std::string cycled = VideoPath(1);
    for (int i = 0; i < 10; ++i) {
        StartAndWaitForScript(program);
        AddAndRemove(program, cycled);
    }
    const TLongRunSample first = Sample(program);
    for (int i = 1; i <= LongRunStarts; ++i) {
        StartAndWaitForScript(program);
        Progress("\"Start\"", i, LongRunStarts, 50);
    }
    const TLongRunSample afterStarts = Sample(program);
    for (int i = 1; i <= LongRunCycles; ++i) {
        AddAndRemove(program, cycled);
        Progress("add and remove cycle", i, LongRunCycles, 100);
    }
    const TLongRunSample last = Sample(program);
    program.Close();
    const std::pair<TMemorySample, TMemorySample> floor = DialogCycles(bench, cycled);

    Write(bench, Format("### Long run\n\nOne process: %d \"Start\"s with one file (two-pass), each script run "
                        "to its end by the recording encoder stand-in (%d encoder runs, all counted), then %d "
                        "cycles of adding a file through \"Add Video File\" and removing it; after a warm-up of "
                        "10 of each.\n\n| | at start | after the Starts | at end | growth |\n|---|---|---|---|---|\n",
                        LongRunStarts, 2 * LongRunStarts, LongRunCycles));
    Write(bench, Format("| windows of the program | %d | %d | %d | %+d |\n", first.Windows, afterStarts.Windows,
                        last.Windows, last.Windows - first.Windows));
    if (first.GuiReported) {
        Write(bench, Format("| USER objects | %lu | %lu | %lu | %+ld |\n| GDI objects | %lu | %lu | %lu | %+ld |\n",
                            first.User, afterStarts.User, last.User, long(last.User) - long(first.User), first.Gdi,
                            afterStarts.Gdi, last.Gdi, long(last.Gdi) - long(first.Gdi)));
    } else {
        Write(bench, Format("| USER and GDI objects | not reported: GetGuiResources fails with error %lu | | | |\n",
                            first.GuiError));
    }
    Write(bench, "| private bytes | " + MB(first.Memory.PrivateBytes) + " | " + MB(afterStarts.Memory.PrivateBytes) +
                     " | " + MB(last.Memory.PrivateBytes) + " | " +
                     SignedMB(last.Memory.PrivateBytes - first.Memory.PrivateBytes) + " |\n");
    Write(bench, "| working set | " + MB(first.Memory.WorkingSet) + " | " + MB(afterStarts.Memory.WorkingSet) +
                     " | " + MB(last.Memory.WorkingSet) + " | " +
                     SignedMB(last.Memory.WorkingSet - first.Memory.WorkingSet) + " |\n\n");
    Write(bench, Format("The %d dialog cycles against a floor that only opens the same dialog as the program does "
                        "(the same flags, filter, title and buffer) and chooses the same file in it, after the same "
                        "warm-up; private bytes:\n\n| %d dialog cycles | before | after | growth |\n|---|---|---|---|\n",
                        LongRunCycles, LongRunCycles));
    Write(bench, "| spindrel.exe (adding the file and removing it) | " + MB(afterStarts.Memory.PrivateBytes) + " | " +
                     MB(last.Memory.PrivateBytes) + " | " +
                     SignedMB(last.Memory.PrivateBytes - afterStarts.Memory.PrivateBytes) + " |\n");
    Write(bench, "| floor: the dialog alone | " + MB(floor.first.PrivateBytes) + " | " + MB(floor.second.PrivateBytes) +
                     " | " + SignedMB(floor.second.PrivateBytes - floor.first.PrivateBytes) + " |\n\n");
    const double privateGrowth = last.Memory.PrivateBytes - first.Memory.PrivateBytes;
    const double noise = 256 * 1024;
    const bool objectsKept = last.Windows == first.Windows &&
                             (!first.GuiReported || (last.User <= first.User && last.Gdi <= first.Gdi));
    Goal(bench, "the long run without growth beyond noise (windows and objects none, private bytes at most 256 KB)",
         objectsKept && privateGrowth <= noise,
         Format("%d windows, %ld USER and %ld GDI objects, %s of private bytes", last.Windows - first.Windows,
                long(last.User) - long(first.User), long(last.Gdi) - long(first.Gdi),
                MB(std::max(0.0, privateGrowth - noise)).c_str()));
}

// The processor time the program takes while a conversion runs: one file whose
// encoder the stand-in holds, measured for HeldSeconds once the encoder runs.
void HeldConversion(TBench& bench)
{
    const std::string video = std::string(WorkFolder) + "\\Videos\\held\\Clip from the camera.avi";
    CreateDirectoryA((std::string(WorkFolder) + "\\Videos\\held").c_str(), nullptr);
    MakeVideoFile(video);
    TProgram program;
    LaunchProgram(bench, program);
    program.AddFileByDialog(video);
    WaitFor("the length of " + video, [&] { return !LengthsRead(program).empty(); });
    HANDLE hold = CreateFileA(EncoderHold, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hold == INVALID_HANDLE_VALUE)
        throw std::runtime_error(std::string("cannot make ") + EncoderHold);
    CloseHandle(hold);
    const int calls = EncoderCalls();
    TimedStart(program);
    WaitFor("the held encoder to run", [&] { return EncoderCalls() == calls + 1; });
    const double before = program.ProcessorSeconds(), start = Now();
    Sleep(HeldSeconds * 1000);   // the time measured
    const double used = program.ProcessorSeconds() - before, seconds = Now() - start;
    const std::string title = gui::Text(program.MainWindow());
    const bool held = EncoderCalls() == calls + 1;
    DeleteFileA(EncoderHold);
    program.WaitForScripts();
    WaitFor("the script to run the encoder twice", [&] { return EncoderCalls() == calls + 2; });
    program.AnswerMessage();
    program.Close();
    if (!held)
        throw std::runtime_error("the encoder was not held while the processor time was measured");

    const double share = used / seconds;
    Write(bench, Format("### Processor time while a conversion runs\n\nOne file whose encoder the stand-in holds; "
                        "from the moment it runs, %.0f s with the window minimised and its title following the "
                        "conversion (\"%s\"). The time is summed over the program's threads (GetThreadTimes from "
                        "the benchmark's process: Wine reports no process times for another process, but reads "
                        "each thread's from the system).\n\n| processor time | share of one core |\n|---|---|\n"
                        "| %.3f s | %.2f %% |\n\n",
                        seconds, title.c_str(), used, share * 100));
    Goal(bench, "at most 1 % of one core while a conversion runs", share <= 0.01,
         Format("%.2f %% of one core", (share - 0.01) * 100));
}

// The stand-in's own time for the files: each run as the program runs it to read
// a length (without a console, its output on a pipe read once it has ended, from
// the DVD Flick folder), one after the other.
double StandInSeconds(const std::vector<std::string>& files)
{
    const std::string encoder = std::string(FlickFolder) + "\\ffmpeg.exe";
    const double start = Now();
    for (const std::string& file : files) {
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        HANDLE output = nullptr, end = nullptr;
        CreatePipe(&output, &end, &inherited, 65536);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = end;
        std::string command = "ffmpeg.exe -i \"" + file + "\"";
        PROCESS_INFORMATION process;
        if (!CreateProcessA(encoder.c_str(), &command[0], nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                            FlickFolder, &startup, &process))
            throw std::runtime_error("cannot run " + encoder);
        CloseHandle(end);
        WaitForSingleObject(process.hProcess, 20000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        char buffer[512];
        for (DWORD got; ::ReadFile(output, buffer, sizeof buffer, &got, nullptr) && got;) {
        }
        CloseHandle(output);
    }
    return Now() - start;
}

// The lengths of LengthFiles files dropped at once, read by the program while the
// benchmark times the window's answer to a message every 20 ms; against the
// stand-in's own time for the same files, measured first.
void Lengths(TBench& bench)
{
    const std::vector<std::string> files = VideoPaths(0, LengthFiles);
    StandInSeconds(std::vector<std::string>(files.begin(), files.begin() + 10));
    const double own = StandInSeconds(files);
    TProgram program;
    LaunchProgram(bench, program);
    if (!program.AcceptsDrops())
        throw std::runtime_error("no window of spindrel.exe accepts dropped files");
    const double dropped = Now();
    program.DropFiles(files, bench.DropHook);
    std::vector<double> answers;
    std::string line;
    gui::Require("the lengths of the dropped files", [&] {
        answers.push_back(program.Sync());
        return !(line = LengthsRead(program)).empty();
    }, 20 * 60000, 20);
    const double reading = Now() - dropped;
    // Read again: the line can change between the length asked for and the text.
    line = LengthsRead(program);
    program.Close();

    const TSpread answer = Spread(answers);
    const long slow = static_cast<long>(std::count_if(answers.begin(), answers.end(), [](double a) { return a > 0.05; }));
    Write(bench, Format("### Reading the lengths of %d files\n\n%d files dropped at once; the program reads their "
                        "lengths one after the other with the encoder stand-in (`ffmpeg.exe -i`), until its line "
                        "says \"%s\". Against the stand-in run by the benchmark for the same files, one after the "
                        "other, as the program runs it (without a console, its output on a pipe, from the DVD Flick "
                        "folder), "
                        "measured first.\n\n| | time | per file |\n|---|---|---|\n"
                        "| the stand-in alone | %.1f s | %.1f ms |\n| spindrel.exe, from the drop to the last length "
                        "| %.1f s | %.1f ms |\n\n",
                        LengthFiles, LengthFiles, line.c_str(), own, own * 1e3 / LengthFiles, reading,
                        reading * 1e3 / LengthFiles));
    Write(bench, Format("Meanwhile the window answered %d messages, one every 20 ms: median %.1f ms, slowest %.1f ms, "
                        "%ld slower than 50 ms. Reading: %.2f x the stand-in alone. ",
                        static_cast<int>(answers.size()), answer.Median * 1e3, answer.Max * 1e3, slow,
                        reading / own));
    Goal(bench, "the window answers within 50 ms throughout the reading, and the reading takes at most 1.5 x the "
                "stand-in alone",
         answer.Max <= 0.05 && reading <= 1.5 * own,
         Format("slowest answer %.1f ms over, reading %.2f x over", std::max(0.0, answer.Max - 0.05) * 1e3,
                std::max(0.0, reading / own - 1.5)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s REPORT.md SPINDREL.EXE BENCH-FOLDER [FIGURE...]\n", argv[0]);
        return 2;
    }
    TBench bench;
    bench.Program = argv[2];
    const std::string folder = std::string(argv[3]) + "\\";
    bench.Floor = folder + "floor_window.exe";
    bench.FormFloor = folder + "floor_form.exe";
    bench.DialogFloor = folder + "floor_dialog.exe";
    bench.Encoder = folder + "ffmpeg.exe";
    bench.DropHook = folder + "drop_hook.dll";
    const std::vector<std::string> named(argv + 4, argv + argc);
    auto wanted = [&](const char* figure) {
        return named.empty() || std::find(named.begin(), named.end(), figure) != named.end();
    };
    bench.Report = std::fopen(argv[1], "wb");
    if (!bench.Report)
        return 2;
    int status = 0;
    try {
        RemoveLeftovers();
        CreateDirectoryA(WorkFolder, nullptr);
        CreateDirectoryA((std::string(WorkFolder) + "\\Videos").c_str(), nullptr);
        CreateDirectoryA(FlickFolder, nullptr);
        if (!CopyFileA(bench.Encoder.c_str(), (std::string(FlickFolder) + "\\ffmpeg.exe").c_str(), FALSE))
            throw std::runtime_error("cannot put the encoder stand-in into " + std::string(FlickFolder));
        // The stand-in inherits it through the program and the script's interpreter.
        SetEnvironmentVariableA("FAKE_FFMPEG_LOG", EncoderLog);
        // Its stored settings stay in the work folder, so that every run starts alike.
        SetEnvironmentVariableA("APPDATA", WorkFolder);
        MakeVideoFiles(13000);
        TFloorMemory floor;
        if (wanted("startup") || wanted("lists"))
            floor = StartUp(bench);
        if (wanted("lists"))
            LongLists(bench, floor);
        if (wanted("drops"))
            Drops(bench);
        if (wanted("longrun"))
            LongRun(bench);
        if (wanted("held"))
            HeldConversion(bench);
        if (wanted("lengths"))
            Lengths(bench);
        status = bench.Missed ? 1 : 0;
    } catch (const std::exception& error) {
        Write(bench, std::string("**The run stopped**: ") + error.what() + ".\n\n");
        std::fprintf(stderr, "program_bench: %s\n", error.what());
        status = 2;
    }
    std::fclose(bench.Report);
    RemoveLeftovers();
    return status;
}
