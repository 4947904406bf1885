#include "job/ConversionReport.h"
#include "job/ConversionScript.h"

#include "JobTestSupport.h"

#include <cstdlib>

// Runs a written convert.bat through the real command interpreter, whose test-only
// ffmpeg.exe logs its command line and folder. Folder and file names hold what
// cmd.exe would take apart if the script did not guard it, and a repeated file name.
// The titles and the record run without a word from cmd.exe, which the report shows.
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
    const std::string input = root + "in %OS% & (1) ^2\\clip.part1.mpg", crash = "D:\\v\\a^b (c) & d.e fails with -1073741819.avi";
    const TText inputs[] = {input.c_str(), "D:\\Other.Dir\\CLIP.PART1.MPG", crash.c_str()};
    TConversion conversion(3, s.OutputFolder);
    std::copy(inputs, inputs + 3, conversion.Inputs);
    ASSERT_TRUE(WriteScript(s, "16:9", "PAL", "6000", false, true, conversion.Inputs, 3, SystemJobPlatform(), conversion.Videos)
                    .Succeeded());
    // cmd.exe /c drops the first and the last quote of its command when the quoted
    // text holds "&", "(" or "^", so the quoted script path gets a second pair.
    const std::string errors = root + "errors.txt", said = crash + ": Invalid data found when processing input\r\n";
    std::system(("\"\"" + Str(s.ScriptPath) + "\" 2>\"" + errors + "\"\"").c_str());
    EXPECT_EQ(ReadBytes(errors), said + said);
    EXPECT_EQ(Str(ConversionReport(conversion, SystemJobPlatform())), "Conversion finished with errors: 2 of 3 videos written to " +
                                                                          outputFolder + ".\n" + crash + ": ffmpeg.exe ended with code -1073741819");

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
