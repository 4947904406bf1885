#include "job/ConversionScript.h"

#include "JobTestSupport.h"

TEST(SystemJobPlatform, OnlyAFileCountsAsTheEncoder)
{
    TTempFolder folder;
    TJobSettings s;
    InitJobSettings(s);
    s.FileCount = 1;
    s.FlickPath = folder.Path().c_str();
    const std::string encoder = folder.Path() + "ffmpeg.exe";

    EXPECT_EQ(ValidateStart(s, false, "", SystemJobPlatform()).Count, 1);
    std::filesystem::create_directory(encoder);
    EXPECT_EQ(ValidateStart(s, false, "", SystemJobPlatform()).Count, 1);
    std::filesystem::remove(encoder);
    WriteBytes(encoder, "");
    EXPECT_EQ(ValidateStart(s, false, "", SystemJobPlatform()).Count, 0);
}

TEST(SystemJobPlatform, LaunchOfAMissingScriptIsRefused)
{
    TTempFolder folder;
    TJobSettings s;
    InitJobSettings(s);
    s.ScriptPath = (folder.Path() + "convert.bat").c_str();
    EXPECT_FALSE(LaunchScript(s, SystemJobPlatform()));
}
