#include "job/ConversionScript.h"

#include "JobTestSupport.h"

namespace {

const char NoFiles[] = "You have not entered any files for conversion !!!";
const char NoEncoder[] = "Please specify direcory with DVD Flick and FFMpeg !!!";
const char BadBitrate[] = "Check the Custom bitrate - enter value between 100 and 9000 using digits only";

std::vector<std::string> Messages(const TStartMessages& messages)
{
    return std::vector<std::string>(messages.Items, messages.Items + messages.Count);
}

// A record as after start-up, with the encoder in place and one file listed.
struct TStart {
    TJobSettings Settings;
    TFakeJobPlatform Platform;

    TStart()
    {
        InitJobSettings(Settings);
        Settings.FileCount = 1;
        Platform.ExistingFiles.insert("C:\\Program Files\\DVD Flick\\ffmpeg.exe");
    }

    std::vector<std::string> Validate(bool useCustom, const char* customText)
    {
        return Messages(ValidateStart(Settings, useCustom, customText, Platform));
    }
};

const std::vector<TText> HolidayFiles = {"D:\\Video\\holiday.avi", "D:\\Video\\Party 2.mpg"};

const std::string TwoPassExample = CrLfLines({
    "C:",
    "cd C:\\",
    "cd Program Files",
    "cd DVD Flick",
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 1 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"",
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 2 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"",
    "C:",
    "cd C:\\",
    "cd Program Files",
    "cd DVD Flick",
    "ffmpeg.exe -i \"D:\\Video\\Party 2.mpg\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 1 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\Party 2_mpg.m2v\"",
    "ffmpeg.exe -i \"D:\\Video\\Party 2.mpg\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 2 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\Party 2_mpg.m2v\"",
});

const std::string OnePassExample = CrLfLines({
    "C:",
    "cd C:\\",
    "cd Program Files",
    "cd DVD Flick",
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576 -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"",
    "C:",
    "cd C:\\",
    "cd Program Files",
    "cd DVD Flick",
    "ffmpeg.exe -i \"D:\\Video\\Party 2.mpg\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576 -an -ilme -o -y \"E:\\DVD\\Party 2_mpg.m2v\"",
});

// The worked example's job, its script going into a real temporary folder.
struct TScriptJob {
    TTempFolder Folder;
    TJobSettings Settings;

    TScriptJob()
    {
        InitJobSettings(Settings);
        Settings.OutputFolder = "E:\\DVD\\";
        Settings.ScriptPath = TText(Folder.Path().c_str()) + "convert.bat";
    }

    TScriptResult Write(bool twoPass, const std::vector<TText>& files = HolidayFiles,
                        const char* format = "PAL")
    {
        return WriteScript(Settings, "16:9", format, "6000", false, twoPass, files.data(),
                           static_cast<int>(files.size()), SystemJobPlatform());
    }

    std::string Script() const { return ReadBytes(Str(Settings.ScriptPath)); }

    // Only the cd lines of the script, which do not depend on the command lines.
    std::vector<std::string> CdLines() const
    {
        std::vector<std::string> lines;
        const std::string script = Script();
        for (size_t at = 0; at < script.size();) {
            const size_t end = script.find("\r\n", at);
            const std::string line = script.substr(at, end - at);
            if (line.compare(0, 3, "cd ") == 0)
                lines.push_back(line);
            at = end + 2;
        }
        return lines;
    }
};

} // namespace

TEST(ValidateStart, MessagesComeInCheckOrder)
{
    using V = std::vector<std::string>;
    {
        TStart start;
        EXPECT_EQ(start.Validate(true, "5000"), V{});
        EXPECT_FALSE(start.Settings.HasError);
    }
    {
        TStart start;
        start.Settings.FileCount = 0;
        EXPECT_EQ(start.Validate(false, ""), V{NoFiles});
        EXPECT_TRUE(start.Settings.HasError);
    }
    {
        TStart start;
        start.Settings.FileCount = 0;
        start.Platform.ExistingFiles.clear();
        EXPECT_EQ(start.Validate(false, ""), (V{NoFiles, NoEncoder}));
        EXPECT_TRUE(start.Settings.HasError);
    }
    {
        TStart start;
        start.Settings.FileCount = -1;
        start.Platform.ExistingFiles.clear();
        EXPECT_EQ(start.Validate(true, "9001"), (V{NoFiles, NoEncoder, BadBitrate}));
        EXPECT_TRUE(start.Settings.HasError);
        EXPECT_TRUE(start.Settings.BadCustomBitrate);
    }
    {
        TStart start;
        start.Settings.FlickPath = "D:\\Tools\\";
        EXPECT_EQ(start.Validate(false, ""), V{NoEncoder});
    }
}

TEST(ValidateStart, EachStartClearsTheFlagsOfTheLastOne)
{
    TStart start;
    EXPECT_EQ(start.Validate(true, "x").size(), 1u);
    EXPECT_TRUE(start.Settings.HasError);
    EXPECT_TRUE(start.Settings.BadCustomBitrate);

    EXPECT_TRUE(start.Validate(true, "500").empty());
    EXPECT_FALSE(start.Settings.HasError);
    EXPECT_FALSE(start.Settings.BadCustomBitrate);
    EXPECT_TRUE(start.Settings.UseCustomBitrate);

    EXPECT_TRUE(start.Validate(false, "500").empty());
    EXPECT_FALSE(start.Settings.UseCustomBitrate);
}

TEST(ValidateStart, CustomBitrateFrom100To9000IsWrittenBackInDecimal)
{
    const struct {
        const char* Text;
        const char* Written;
    } accepted[] = {{"100", "100"}, {"9000", "9000"}, {"0100", "100"}, {" 500", "500"},
                    {"+700", "700"}, {"$3E8", "1000"}, {"0x1F4", "500"}};
    for (const auto& c : accepted) {
        TStart start;
        EXPECT_TRUE(start.Validate(true, c.Text).empty()) << c.Text;
        EXPECT_EQ(Str(start.Settings.BitrateText), c.Written) << c.Text;
        EXPECT_TRUE(start.Settings.UseCustomBitrate) << c.Text;
        EXPECT_FALSE(start.Settings.BadCustomBitrate) << c.Text;
    }

    for (const char* text : {"99", "9001", "0", "-500", "100 ", "1a00", "", "90000", "2147483648"}) {
        TStart start;
        EXPECT_EQ(start.Validate(true, text), std::vector<std::string>{BadBitrate}) << text;
        EXPECT_EQ(Str(start.Settings.BitrateText), "9000") << text;
        EXPECT_FALSE(start.Settings.UseCustomBitrate) << text;
        EXPECT_TRUE(start.Settings.BadCustomBitrate) << text;
        EXPECT_TRUE(start.Settings.HasError) << text;
    }
}

TEST(ValidateStart, CustomTextIsIgnoredWhileCustomIsOff)
{
    TStart start;
    start.Settings.ParseCode = 0;
    start.Settings.BitrateValue = 42;
    EXPECT_TRUE(start.Validate(false, "letters").empty());
    EXPECT_EQ(Str(start.Settings.BitrateText), "9000");
    EXPECT_EQ(start.Settings.BitrateValue, 42);
    EXPECT_EQ(start.Settings.ParseCode, 0);
}

TEST(ValidateStart, GoodCustomBitrateIsKeptEvenWhenAnotherCheckFails)
{
    TStart start;
    start.Settings.FileCount = 0;
    EXPECT_EQ(start.Validate(true, "2500"), std::vector<std::string>{NoFiles});
    EXPECT_EQ(Str(start.Settings.BitrateText), "2500");
    EXPECT_TRUE(start.Settings.UseCustomBitrate);
}

TEST(WriteScript, WorkedExamplesByteForByte)
{
    TScriptJob job;
    ASSERT_TRUE(job.Write(true).Succeeded());
    EXPECT_EQ(job.Script(), TwoPassExample);

    // The next Start replaces the longer script; nothing of it is left.
    const TScriptResult result = job.Write(false);
    ASSERT_TRUE(result.Succeeded());
    EXPECT_EQ(result.Code, 0);
    EXPECT_TRUE(result.Text.IsEmpty());
    EXPECT_EQ(job.Script(), OnePassExample);
}

TEST(WriteScript, ReplacesAnExistingScript)
{
    TScriptJob job;
    WriteBytes(Str(job.Settings.ScriptPath), std::string(20000, 'x') + "\r\n");
    ASSERT_TRUE(job.Write(false).Succeeded());
    EXPECT_EQ(job.Script(), OnePassExample);
}

TEST(WriteScript, CdLinesWalkDownFromTheDrivesRoot)
{
    TScriptJob job;
    job.Settings.FlickPath = "D:\\";
    job.Settings.Drive = "D:";
    ASSERT_TRUE(job.Write(false, {"D:\\a.avi"}).Succeeded());
    EXPECT_EQ(job.CdLines(), std::vector<std::string>{"cd D:\\"});
    EXPECT_EQ(job.Script().substr(0, 13), "D:\r\ncd D:\\\r\nf");

    // An empty folder name between two backslashes still gets its line; what
    // follows the last backslash gets none.
    job.Settings.FlickPath = "D:\\Apps\\\\DVD Flick\\tail";
    ASSERT_TRUE(job.Write(false, {"D:\\a.avi"}).Succeeded());
    EXPECT_EQ(job.CdLines(), (std::vector<std::string>{"cd D:\\", "cd Apps", "cd ", "cd DVD Flick"}));
}

TEST(WriteScript, CdLinesQuoteOnlyNamesThatCmdWouldSplit)
{
    TScriptJob job;
    job.Settings.FlickPath = "C:\\A & B\\x|y\\<in>\\C^D\\(x86) v1.2\\Program Files\\";
    ASSERT_TRUE(job.Write(false, {"D:\\a.avi"}).Succeeded());
    EXPECT_EQ(job.CdLines(), (std::vector<std::string>{"cd C:\\", "cd \"A & B\"", "cd \"x|y\"",
                                                       "cd \"<in>\"", "cd \"C^D\"", "cd (x86) v1.2",
                                                       "cd Program Files"}));
}

TEST(WriteScript, PercentSignsAreDoubledForCmd)
{
    TScriptJob job;
    job.Settings.FlickPath = "C:\\100% & more\\%TEMP%\\";
    job.Settings.OutputFolder = "E:\\50%\\";
    ASSERT_TRUE(job.Write(false, {"D:\\%OS%\\a%b.avi"}).Succeeded());
    EXPECT_EQ(job.Script(),
              CrLfLines({"C:", "cd C:\\", "cd \"100%% & more\"", "cd %%TEMP%%",
                         "ffmpeg.exe -i \"D:\\%%OS%%\\a%%b.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576 -an -ilme -o -y \"E:\\50%%\\a%%b_avi.m2v\""}));
}

TEST(WriteScript, RepeatedFileNamesGetTheirOwnOutputs)
{
    TScriptJob job;
    ASSERT_TRUE(job.Write(false, {"D:\\a\\clip.avi", "D:\\b\\CLIP.avi", "D:\\c\\clip.avi", "D:\\d\\x.avi"}).Succeeded());
    const std::string script = job.Script();
    for (const char* output : {"\"E:\\DVD\\clip_avi.m2v\"", "\"E:\\DVD\\CLIP_avi_2.m2v\"",
                               "\"E:\\DVD\\clip_avi_3.m2v\"", "\"E:\\DVD\\x_avi.m2v\""})
        EXPECT_NE(script.find(output), std::string::npos) << output << " missing from\n" << script;
}

TEST(WriteScript, TargetAndFrameSizeCarryOverToTheNextStart)
{
    TScriptJob job;
    ASSERT_TRUE(job.Write(false, HolidayFiles, "PAL").Succeeded());
    ASSERT_TRUE(job.Write(false, HolidayFiles, "pal").Succeeded());
    EXPECT_EQ(job.Script(), OnePassExample);
}

TEST(WriteScript, MissingOutputFolderFailsWithoutAFile)
{
    TScriptJob job;
    const std::string missing = job.Folder.Path() + "missing";
    job.Settings.ScriptPath = TText((missing + job.Folder.Path().back() + "convert.bat").c_str());
    const TScriptResult result = job.Write(false);
    EXPECT_EQ(result.Code, 3);
    EXPECT_EQ(Str(result.Text), "Invalid filename");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(WriteScript, UnwritableScriptPathFailsAndLeavesWhatWasThere)
{
    // A folder that holds the script's name cannot be opened for writing, not
    // even by an administrator or root.
    TScriptJob job;
    std::filesystem::create_directory(Str(job.Settings.ScriptPath));
    const TScriptResult result = job.Write(false);
    EXPECT_EQ(result.Code, 5);
    EXPECT_EQ(Str(result.Text), "File access denied");
    EXPECT_TRUE(std::filesystem::is_directory(Str(job.Settings.ScriptPath)));
}

TEST(WriteScript, FailureStopsWritingAndRemovesOnlyWhatItCreated)
{
    const auto write = [](TFakeJobPlatform& platform) {
        TJobSettings s;
        InitJobSettings(s);
        return WriteScript(s, "16:9", "PAL", "6000", false, true, HolidayFiles.data(), 2, platform);
    };
    const std::vector<std::string> script = {"C:\\convert.bat"};

    // Each file's block is one write.
    for (int failing = 1; failing <= 2; ++failing) {
        TFakeJobPlatform platform;
        platform.FailingWrite = failing;
        platform.WriteFailure = 101;
        const TScriptResult result = write(platform);
        EXPECT_EQ(result.Code, 101);
        EXPECT_EQ(Str(result.Text), "Disk full");
        EXPECT_EQ(platform.Writes, failing) << "no write may follow a failed one";
        EXPECT_FALSE(platform.IsOpen);
        EXPECT_EQ(platform.Removed, script);
    }
    {
        TFakeJobPlatform platform;
        platform.CloseFailure = 1117;
        const TScriptResult result = write(platform);
        EXPECT_EQ(result.Code, 1117);
        EXPECT_EQ(Str(result.Text), "I/O error 1117");
        EXPECT_EQ(platform.Writes, 2);
        EXPECT_EQ(platform.Removed, script);
    }
    {
        TFakeJobPlatform platform;
        platform.CreateFailure = 4;
        const TScriptResult result = write(platform);
        EXPECT_EQ(result.Code, 4);
        EXPECT_EQ(Str(result.Text), "Too many open files");
        EXPECT_EQ(platform.Writes, 0);
        EXPECT_TRUE(platform.Removed.empty());
    }
}

TEST(IoErrorText, TextsOfTheRuntimeErrors)
{
    EXPECT_EQ(Str(IoErrorText(2)), "File not found");
    EXPECT_EQ(Str(IoErrorText(3)), "Invalid filename");
    EXPECT_EQ(Str(IoErrorText(4)), "Too many open files");
    EXPECT_EQ(Str(IoErrorText(5)), "File access denied");
    EXPECT_EQ(Str(IoErrorText(101)), "Disk full");
    EXPECT_EQ(Str(IoErrorText(32)), "I/O error 32");
    EXPECT_EQ(Str(IoErrorText(112)), "I/O error 112");
}

TEST(LaunchScript, HandsTheScriptToTheShellAndReportsARefusal)
{
    TJobSettings s;
    InitJobSettings(s);
    s.ScriptPath = "E:\\Out Folder\\convert.bat";
    TFakeJobPlatform platform;
    EXPECT_TRUE(LaunchScript(s, platform));
    platform.ShellRefuses = true;
    EXPECT_FALSE(LaunchScript(s, platform));
    EXPECT_EQ(platform.ShellOpened,
              (std::vector<std::string>{"E:\\Out Folder\\convert.bat", "E:\\Out Folder\\convert.bat"}));
}
