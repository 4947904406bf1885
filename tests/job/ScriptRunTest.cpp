// Runs a written convert.bat through the real command interpreter and checks what
// the encoder receives: the test-only ffmpeg.exe logs its command line and folder.
#include "job/ConversionScript.h"

#include "JobTestSupport.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

namespace {

// Folder names that cmd.exe would take apart if the script did not guard them.
const std::string FolderLevels[] = {"Job %PATH% & co", "Tools (x86) v1.2.3", "DVD Flick ^ 100%"};

std::string Expected(const std::string& input, const std::string& output, const char* pass)
{
    std::string line = "ffmpeg.exe -i \"" + input +
                       "\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k"
                       " -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1";
    if (pass)
        line += std::string(" -bf 1  -aspect 16:9 -s 720x576 -pass ") + pass +
                " -passlogfile \"logfile.txt\"";
    else
        line += " -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576";
    return line + " -an -ilme -o -y \"" + output + "\"";
}

std::vector<std::string> Arguments(const std::string& commandLine)
{
    const std::wstring wide(commandLine.begin(), commandLine.end());
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        const std::wstring argument(argv[i]);
        arguments.emplace_back(argument.begin(), argument.end());
    }
    LocalFree(argv);
    return arguments;
}

DWORD RunCmd(const std::string& script)
{
    // cmd.exe /c drops the first and the last quote of its command when the quoted
    // text holds "&", "(" or "^", so the quoted script path gets a second pair.
    std::string command = "cmd.exe /c \"\"" + script + "\"\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cmd.exe did not start: error " << GetLastError();
        return ~0u;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = ~0u;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

} // namespace
#endif

static void RunScriptThroughCmd(bool twoPass)
{
#ifndef _WIN32
    (void)twoPass;
    GTEST_SKIP() << "needs the Windows command interpreter";
#else
    const std::string root = "C:\\Spindrel run " + std::to_string(GetCurrentProcessId()) + " (a.b)\\";
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);

    std::string flickPath = root;
    for (const std::string& level : FolderLevels)
        flickPath += level + "\\";
    const std::string outputFolder = root + "out 50% & (a) ^b.c\\";
    ASSERT_TRUE(std::filesystem::create_directories(flickPath));
    ASSERT_TRUE(std::filesystem::create_directories(outputFolder));
    ASSERT_TRUE(CopyFileA(FAKE_FFMPEG_PATH, (flickPath + "ffmpeg.exe").c_str(), FALSE))
        << FAKE_FFMPEG_PATH;

    TJobSettings s;
    InitJobSettings(s);
    s.FlickPath = flickPath.c_str();
    s.Drive = "C:";
    s.OutputFolder = outputFolder.c_str();
    s.ScriptPath = (outputFolder + "convert.bat").c_str();
    s.FileCount = 3;
    const std::vector<std::string> inputs = {root + "in %OS% & (1) ^2\\clip.part1.mpg",
                                             "D:\\Other.Dir\\CLIP.PART1.MPG",
                                             "D:\\v\\a^b (c) & d.e.avi"};
    const std::vector<std::string> outputs = {outputFolder + "clip_part1_mpg.m2v",
                                              outputFolder + "CLIP_PART1_MPG_2.m2v",
                                              outputFolder + "a^b (c) & d_e_avi.m2v"};
    std::vector<TText> paths;
    for (const std::string& input : inputs)
        paths.emplace_back(input.c_str());
    ASSERT_TRUE(ValidateStart(s, false, "6000", "16:9", "PAL", SystemJobPlatform()).Count == 0);
    ASSERT_TRUE(WriteScript(s, "16:9", "PAL", "6000", false, twoPass, paths.data(), 3,
                            SystemJobPlatform())
                    .Succeeded());

    const std::string log = root + "ffmpeg log.txt";
    ASSERT_TRUE(SetEnvironmentVariableA("FAKE_FFMPEG_LOG", log.c_str()));
    EXPECT_EQ(RunCmd(Str(s.ScriptPath)), 0u);

    // cd leaves no trailing backslash on the working folder.
    const std::string cwd = "cwd=" + flickPath.substr(0, flickPath.size() - 1);
    std::vector<std::string> expected;
    for (size_t i = 0; i < inputs.size(); ++i)
        for (const char* pass : twoPass ? std::vector<const char*>{"1", "2"} : std::vector<const char*>{nullptr})
            expected.insert(expected.end(), {Expected(inputs[i], outputs[i], pass), cwd});
    const std::string recorded = ReadBytes(log);
    EXPECT_EQ(recorded, CrLfLines(expected)) << ReadBytes(Str(s.ScriptPath));

    // The encoder's own parse of its first command line finds the paths whole.
    const std::vector<std::string> arguments = Arguments(recorded.substr(0, recorded.find("\r\n")));
    ASSERT_GE(arguments.size(), 4u);
    EXPECT_EQ(arguments[2], inputs[0]);
    EXPECT_EQ(arguments.back(), outputs[0]);

    std::filesystem::remove_all(root, ignored);
#endif
}

TEST(ScriptRun, OnePassGivesTheEncoderTheIntendedArguments) { RunScriptThroughCmd(false); }

TEST(ScriptRun, TwoPassGivesTheEncoderTheIntendedArguments) { RunScriptThroughCmd(true); }
