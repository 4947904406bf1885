#include "job/ConversionScript.h"

#include "JobTestSupport.h"

namespace {

const char NoFiles[] = "You have not entered any files for conversion !!!";
const char NoEncoder[] = "Please specify direcory with DVD Flick and FFMpeg !!!";
const char BadCustomBitrate[] = "Check the Custom bitrate - enter value between 100 and 9000 using digits only";
const char BadBitrate[] = "Check the bitrate - enter value between 100 and 9000 using digits only";
const char BadAspect[] = "Choose the aspect ratio from its list";
const char BadFormat[] = "Choose the format from its list";
const char StillRunning[] =
    "A conversion started by Spindrel is still running. Wait for it to finish, then press Start again.";
using Texts = std::vector<std::string>;

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

    Texts Validate(bool useCustom, const char* bitrateText, const char* aspect = "4:3", const char* format = "NTSC")
    {
        const TStartMessages messages = ValidateStart(Settings, useCustom, bitrateText, aspect, format, Platform);
        return Texts(messages.Items, messages.Items + messages.Count);
    }
};

const std::vector<TText> HolidayFiles = {"D:\\Video\\holiday.avi", "D:\\Video\\Party 2.mpg"};
const char PartyPass1[] =
    "ffmpeg.exe -i \"D:\\Video\\Party 2.mpg\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 1 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\Party 2_mpg.m2v\"";
const char PartyPass2[] =
    "ffmpeg.exe -i \"D:\\Video\\Party 2.mpg\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 2 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\Party 2_mpg.m2v\"";
const char PartyOnePass[] =
    "ffmpeg.exe -i \"D:\\Video\\Party 2.mpg\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576 -an -ilme -o -y \"E:\\DVD\\Party 2_mpg.m2v\"";

// One file's block of the example script: down to the DVD Flick folder, then the encoder.
std::string Block(const Texts& commands)
{
    Texts lines = {"C:", "cd C:\\", "cd Program Files", "cd DVD Flick"};
    lines.insert(lines.end(), commands.begin(), commands.end());
    return CrLfLines(lines);
}

const std::string TwoPassExample = Block({HolidayPass1, HolidayPass2}) + Block({PartyPass1, PartyPass2});
const std::string OnePassExample = Block({HolidayOnePass}) + Block({PartyOnePass});

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

    TScriptResult Write(bool twoPass, const std::vector<TText>& files = HolidayFiles, const char* format = "PAL")
    {
        return WriteScript(Settings, "16:9", format, "6000", false, twoPass, files.data(),
                           static_cast<int>(files.size()), SystemJobPlatform());
    }

    std::string Script() const { return ReadBytes(Str(Settings.ScriptPath)); }

    // The cd lines of a one-file script written with this FlickPath.
    Texts CdLines(const char* flickPath)
    {
        Settings.FlickPath = flickPath;
        EXPECT_TRUE(Write(false, {"D:\\a.avi"}).Succeeded());
        Texts lines;
        const std::string script = Script();
        for (size_t at = 0, end; (end = script.find("\r\n", at)) != std::string::npos; at = end + 2)
            if (script.compare(at, 3, "cd ") == 0)
                lines.push_back(script.substr(at, end - at));
        return lines;
    }
};

} // namespace

TEST(ValidateStart, MessagesComeInCheckOrderAndEachStartClearsTheLastOnesFlags)
{
    {
        TStart start;
        EXPECT_EQ(start.Validate(true, "5000"), Texts{});
        EXPECT_FALSE(start.Settings.HasError);
    }
    {
        TStart start;
        start.Settings.FileCount = 0;
        EXPECT_EQ(start.Validate(false, "9000"), Texts{NoFiles});
        EXPECT_TRUE(start.Settings.HasError);
        start.Platform.ExistingFiles.clear();
        EXPECT_EQ(start.Validate(false, "9000"), (Texts{NoFiles, NoEncoder}));
        start.Settings.FileCount = -1;
        EXPECT_EQ(start.Validate(true, "9001", "4:3&calc", "pal"),
                  (Texts{NoFiles, NoEncoder, BadCustomBitrate, BadAspect, BadFormat}));
        EXPECT_TRUE(start.Settings.BadCustomBitrate);
        start.Platform.ShellRunActive = true;
        EXPECT_EQ(start.Validate(true, "9001"), Texts{StillRunning});
    }
    {
        TStart start;
        start.Settings.FlickPath = "D:\\Tools\\";
        EXPECT_EQ(start.Validate(false, "9000"), Texts{NoEncoder});
        EXPECT_TRUE(start.Settings.HasError);
        start.Settings.FlickPath = "C:\\Program Files\\DVD Flick\\";
        EXPECT_TRUE(start.Validate(true, "500").empty());
        EXPECT_FALSE(start.Settings.HasError);
        EXPECT_TRUE(start.Settings.UseCustomBitrate);
        EXPECT_TRUE(start.Validate(false, "500").empty());
        EXPECT_FALSE(start.Settings.UseCustomBitrate);
    }
}

// Either bitrate box: the preset box can be typed into as well.
TEST(ValidateStart, BitrateFrom100To9000IsWrittenBackInDecimal)
{
    const struct {
        const char* Text;
        const char* Written;
    } accepted[] = {{"100", "100"}, {"9000", "9000"}, {"0100", "100"}, {" 500", "500"},
                    {"+700", "700"}, {"$3E8", "1000"}, {"0x1F4", "500"}};
    for (const bool custom : {true, false}) {
        for (const auto& c : accepted) {
            TStart start;
            EXPECT_TRUE(start.Validate(custom, c.Text).empty()) << c.Text;
            EXPECT_EQ(Str(start.Settings.BitrateText), c.Written) << c.Text;
            EXPECT_EQ(start.Settings.UseCustomBitrate, custom) << c.Text;
            EXPECT_FALSE(start.Settings.BadCustomBitrate) << c.Text;
        }
        for (const char* text : {"99", "9001", "0", "-500", "100 ", "1a00", "", "90000", "2147483648", "abc"}) {
            TStart start;
            start.Settings.BitrateText = "5000";
            EXPECT_EQ(start.Validate(custom, text), Texts{custom ? BadCustomBitrate : BadBitrate}) << text;
            EXPECT_EQ(Str(start.Settings.BitrateText), "5000") << text;
            EXPECT_FALSE(start.Settings.UseCustomBitrate) << text;
            EXPECT_EQ(start.Settings.BadCustomBitrate, custom) << text;
            EXPECT_TRUE(start.Settings.HasError) << text;
        }
    }
}

TEST(ValidateStart, AspectAndFormatMustBeItemsOfTheirBoxesExactly)
{
    for (const char* aspect : {"4:3", "16:9"})
        EXPECT_TRUE(TStart().Validate(false, "9000", aspect, "PAL").empty()) << aspect;
    for (const char* aspect : {"", "4:3 ", "16:10", "16:9&calc"})
        EXPECT_EQ(TStart().Validate(false, "9000", aspect, "NTSC"), Texts{BadAspect}) << aspect;
    for (const char* format : {"", "pal", "PAL ", "NTSC&calc"})
        EXPECT_EQ(TStart().Validate(false, "9000", "16:9", format), Texts{BadFormat}) << format;
}

TEST(ValidateStart, AcceptedBitrateIsKeptWhenAnotherCheckFails)
{
    TStart start;
    start.Settings.FileCount = 0;
    EXPECT_EQ(start.Validate(true, "2500"), Texts{NoFiles});
    EXPECT_EQ(Str(start.Settings.BitrateText), "2500");
    EXPECT_TRUE(start.Settings.UseCustomBitrate);
}

TEST(WriteScript, WorkedExamplesByteForByteEachReplacingWhatWasThere)
{
    TScriptJob job;
    WriteBytes(Str(job.Settings.ScriptPath), std::string(20000, 'x') + "\r\n");
    const TScriptResult result = job.Write(true);
    EXPECT_EQ(result.Code, 0);
    EXPECT_TRUE(result.Text.IsEmpty());
    EXPECT_EQ(job.Script(), TwoPassExample);
    ASSERT_TRUE(job.Write(false).Succeeded());
    EXPECT_EQ(job.Script(), OnePassExample);
}

TEST(WriteScript, TargetAndFrameSizeCarryOverToTheNextStart)
{
    TScriptJob job;
    ASSERT_TRUE(job.Write(false, HolidayFiles, "PAL").Succeeded());
    ASSERT_TRUE(job.Write(false, HolidayFiles, "pal").Succeeded());
    EXPECT_EQ(job.Script(), OnePassExample);
}

TEST(WriteScript, CdLinesWalkDownFromTheDrivesRootQuotingWhatCmdWouldSplit)
{
    TScriptJob job;
    job.Settings.Drive = "D:";
    EXPECT_EQ(job.CdLines("D:\\"), Texts{"cd D:\\"});
    EXPECT_EQ(job.Script().substr(0, 13), "D:\r\ncd D:\\\r\nf");
    // An empty folder name between two backslashes still gets its line; what
    // follows the last backslash gets none.
    EXPECT_EQ(job.CdLines("D:\\Apps\\\\DVD Flick\\tail"), (Texts{"cd D:\\", "cd Apps", "cd ", "cd DVD Flick"}));

    job.Settings.Drive = "C:";
    EXPECT_EQ(job.CdLines("C:\\A & B\\x|y\\<in>\\C^D\\(x86) v1.2\\Program Files\\"),
              (Texts{"cd C:\\", "cd \"A & B\"", "cd \"x|y\"", "cd \"<in>\"", "cd \"C^D\"", "cd (x86) v1.2",
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

TEST(WriteScript, MissingOrUnwritablePathFailsAndLeavesWhatWasThere)
{
    TScriptJob job;
    const std::string script = Str(job.Settings.ScriptPath);
    const std::string missing = job.Folder.Path() + "missing";
    job.Settings.ScriptPath = TText((missing + job.Folder.Path().back() + "convert.bat").c_str());
    TScriptResult result = job.Write(false);
    EXPECT_EQ(result.Code, 3);
    EXPECT_EQ(Str(result.Text), "Invalid filename");
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A folder that holds the script's name cannot be opened for writing, not
    // even by an administrator or root.
    job.Settings.ScriptPath = script.c_str();
    std::filesystem::create_directory(script);
    result = job.Write(false);
    EXPECT_EQ(result.Code, 5);
    EXPECT_EQ(Str(result.Text), "File access denied");
    EXPECT_TRUE(std::filesystem::is_directory(script));
}

TEST(WriteScript, FailureStopsWritingAndRemovesOnlyWhatItCreated)
{
    const struct {
        int CreateFailure, FailingWrite, WriteFailure, CloseFailure;
        const char* Text;
        int Writes;
        bool Removed;
    } cases[] = {
        // Each file's block is one write; no write may follow a failed one.
        {0, 1, 101, 0, "Disk full", 1, true},
        // Other codes in the system's words, which the report ends with its own period.
        {0, 2, 32, 0, "The process cannot access the file because it is being used by another process", 2, true},
        {0, 0, 0, 1117, "I/O error 1117", 2, true},
        {2, 0, 0, 0, "File not found", 0, false},
        {4, 0, 0, 0, "Too many open files", 0, false},
        {5, 0, 0, 0, "File access denied", 0, false},
    };
    for (const auto& c : cases) {
        TFakeJobPlatform platform;
        platform.SystemTexts = {{5, "Access is denied.\r\n"},
                                {32, "The process cannot access the file because it is being used by another process.\r\n"}};
        platform.CreateFailure = c.CreateFailure;
        platform.FailingWrite = c.FailingWrite;
        platform.WriteFailure = c.WriteFailure;
        platform.CloseFailure = c.CloseFailure;
        TJobSettings s;
        InitJobSettings(s);
        const TScriptResult result =
            WriteScript(s, "16:9", "PAL", "6000", false, true, HolidayFiles.data(), 2, platform);
        EXPECT_EQ(result.Code, c.CreateFailure + c.WriteFailure + c.CloseFailure) << c.Text;
        EXPECT_EQ(Str(result.Text), c.Text);
        EXPECT_EQ(platform.Writes, c.Writes) << c.Text;
        EXPECT_FALSE(platform.IsOpen) << c.Text;
        EXPECT_EQ(platform.Removed, c.Removed ? Texts{"C:\\convert.bat"} : Texts{}) << c.Text;
    }
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
    EXPECT_EQ(platform.ShellRuns, (Texts{"E:\\Out Folder\\convert.bat", "E:\\Out Folder\\convert.bat"}));
}

TEST(SystemJobPlatform, OnlyAFileCountsAsTheEncoderAndAMissingScriptIsNotLaunched)
{
    TTempFolder folder;
    TJobSettings s;
    InitJobSettings(s);
    s.FileCount = 1;
    s.FlickPath = folder.Path().c_str();
    const std::string encoder = folder.Path() + "ffmpeg.exe";
    EXPECT_EQ(ValidateStart(s, false, "9000", "4:3", "NTSC", SystemJobPlatform()).Count, 1);
    std::filesystem::create_directory(encoder);
    EXPECT_EQ(ValidateStart(s, false, "9000", "4:3", "NTSC", SystemJobPlatform()).Count, 1);
    std::filesystem::remove(encoder);
    WriteBytes(encoder, "");
    EXPECT_EQ(ValidateStart(s, false, "9000", "4:3", "NTSC", SystemJobPlatform()).Count, 0);

    s.ScriptPath = (folder.Path() + "missing.bat").c_str();
    EXPECT_FALSE(LaunchScript(s, SystemJobPlatform()));
}
