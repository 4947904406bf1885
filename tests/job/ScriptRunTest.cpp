#include "job/ConversionScript.h"

#include "JobTestSupport.h"

#include <cstdlib>

// Runs a written convert.bat through the real command interpreter, whose test-only
// ffmpeg.exe logs its command line and folder. Folder and file names hold what
// cmd.exe would take apart if the script did not guard it, and a repeated file name.
TEST(ScriptRun, TheEncoderGetsTheIntendedLinesInTheDvdFlickFolder)
{
#ifndef _WIN32
    GTEST_SKIP() << "needs the Windows command interpreter";
#else
    TTempFolder temp;
    const std::string root = temp.Path() + "run (a.b)\\";
    const std::string outputFolder = root + "out 50% & (a) ^b.c\\";
    const std::string flickPath = outputFolder + "Job %PATH% & co\\Tools (x86) v1.2.3\\DVD Flick ^ 100%\\";
    ASSERT_TRUE(std::filesystem::create_directories(flickPath));
    ASSERT_TRUE(std::filesystem::copy_file(FAKE_FFMPEG_PATH, flickPath + "ffmpeg.exe")) << FAKE_FFMPEG_PATH;
    const std::string log = root + "ffmpeg log.txt";
    ASSERT_EQ(_putenv(("FAKE_FFMPEG_LOG=" + log).c_str()), 0);

    TJobSettings s;
    InitJobSettings(s);
    s.FlickPath = flickPath.c_str();
    s.Drive = s.FlickPath.Left(2);
    s.OutputFolder = outputFolder.c_str();
    s.ScriptPath = (outputFolder + "convert.bat").c_str();
    const std::string input = root + "in %OS% & (1) ^2\\clip.part1.mpg";
    const TText inputs[] = {input.c_str(), "D:\\Other.Dir\\CLIP.PART1.MPG", "D:\\v\\a^b (c) & d.e.avi"};
    ASSERT_TRUE(WriteScript(s, "16:9", "PAL", "6000", false, true, inputs, 3, SystemJobPlatform()).Succeeded());
    // cmd.exe /c drops the first and the last quote of its command when the quoted
    // text holds "&", "(" or "^", so the quoted script path gets a second pair.
    EXPECT_EQ(std::system(("\"\"" + Str(s.ScriptPath) + "\"\"").c_str()), 0);

    // Every encoder line of the script with cmd.exe's "%%" undone, run in the DVD
    // Flick folder, which cd leaves without its trailing backslash.
    const std::string script = ReadBytes(Str(s.ScriptPath));
    std::string expected;
    for (size_t at = 0; (at = script.find("\r\nffmpeg.exe ", at)) != std::string::npos;) {
        const size_t end = script.find("\r\n", at + 2);
        for (size_t i = at + 2; i < end; i += script[i] == '%' ? 2 : 1)
            expected += script[i];
        expected += "\r\ncwd=" + flickPath.substr(0, flickPath.size() - 1) + "\r\n";
        at = end;
    }
    const std::string recorded = ReadBytes(log);
    EXPECT_EQ(recorded, expected) << script;
    EXPECT_EQ(recorded.find("ffmpeg.exe -i \"" + input + "\" "), 0u) << recorded;
#endif
}
