// Helpers shared by the conversion job's tests.
#pragma once

#include "job/JobPlatform.h"
#include "runtime/Text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#define SPINDREL_TEST_PID _getpid()
#else
#include <unistd.h>
#define SPINDREL_TEST_PID getpid()
#endif

inline std::string Str(const TText& text) { return std::string(text.CStr(), text.Length()); }

// The worked example's command lines for "D:\Video\holiday.avi" (16:9, PAL, 6000).
const char HolidayPass1[] =
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 1 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"";
const char HolidayPass2[] =
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 2 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"";
const char HolidayOnePass[] =
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576 -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"";

// Joins lines, each ending in CR LF, as they stand in a batch file.
inline std::string CrLfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempFolder {
public:
    TTempFolder()
    {
        static std::atomic<int> counter{0};
        FPath = std::filesystem::temp_directory_path() /
                ("spindrel-job-" + std::to_string(SPINDREL_TEST_PID) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(FPath);
        std::filesystem::create_directories(FPath);
    }
    ~TTempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // With a trailing separator, as the job keeps folders.
    std::string Path() const { return FPath.string() + static_cast<char>(std::filesystem::path::preferred_separator); }

private:
    std::filesystem::path FPath;
};

// Records what the job asks of the system and fails the calls a test chooses.
class TFakeJobPlatform final : public TJobPlatform {
public:
    std::set<std::string> ExistingFiles;
    int CreateFailure = 0;
    int FailingWrite = 0;    // 1-based number of the write that fails, 0 for none
    int WriteFailure = 0;
    int CloseFailure = 0;
    bool ShellRefuses = false;
    bool ShellRunActive = false;
    std::map<int, std::string> SystemTexts; // as FormatMessage words them

    int Writes = 0;
    bool IsOpen = false;
    std::vector<std::string> Removed;
    std::vector<std::string> ShellRuns;

    bool FileExists(const TText& path) override { return ExistingFiles.count(Str(path)) != 0; }

    int CreateOutput(const TText&) override
    {
        IsOpen = CreateFailure == 0;
        return CreateFailure;
    }

    int WriteOutput(const char*, int) override
    {
        EXPECT_TRUE(IsOpen) << "write to a file that is not open";
        return ++Writes == FailingWrite ? WriteFailure : 0;
    }

    int CloseOutput() override
    {
        EXPECT_TRUE(IsOpen) << "close of a file that is not open";
        IsOpen = false;
        return CloseFailure;
    }

    void RemoveFile(const TText& path) override
    {
        EXPECT_FALSE(IsOpen) << "removal of a file that is still open";
        Removed.push_back(Str(path));
    }

    TText ErrorText(int code) override { return SystemTexts[code].c_str(); }

    // The script goes to ShellRun, so that a second Start can see it still runs.
    bool ShellOpen(const TText&) override
    {
        ADD_FAILURE() << "the script was launched without watching its run";
        return false;
    }

    bool ShellRun(const TText& path) override
    {
        ShellRuns.push_back(Str(path));
        return !ShellRefuses;
    }

    bool IsShellRunActive() override { return ShellRunActive; }
};
