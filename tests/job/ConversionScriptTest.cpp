#include "job/ConversionScript.h"
#include "job/EncoderCommands.h"

#include "JobTestSupport.h"

#include <vector>

namespace {

using Texts = std::vector<std::string>;

const char NoFiles[] = "You have not entered any files for conversion !!!";
const char NoEncoder[] = "Please specify direcory with DVD Flick and FFMpeg !!!";
const char BadCustom[] = "Check the Custom bitrate - enter value between 100 and 9000 using digits only";
const char BadBitrate[] = "Check the bitrate - enter value between 100 and 9000 using digits only";
const char BadAspect[] = "Choose the aspect ratio from its list";
const char BadFormat[] = "Choose the format from its list";
const char StillRunning[] =
    "A conversion started by Spindrel is still running. Wait for it to finish, then press Start again.";
const char InUse[] = "The process cannot access the file because it is being used by another process";

// Records what the job asks of the system and fails the one call a test chooses,
// counting the removal of the old record as call 1, the create as call 2, each
// write and then the close as the next.
struct TFakeJobPlatform final : TJobPlatform {
    bool EncoderThere = true, ShellRunActive = false, IsOpen = false;
    int FailingCall = 0, FailureCode = 0, Calls = 0, Writes = 0;
    Texts Removed;

    int Call() { return ++Calls == FailingCall ? FailureCode : 0; }
    bool FileExists(const TText& path) override { return EncoderThere && path == "C:\\Program Files\\DVD Flick\\ffmpeg.exe"; }
    bool IsNonEmptyFile(const TText&) override { return false; }
    bool ReadWhole(const TText&, TText&) override { return false; }
    int CreateOutput(const TText&) override { const int code = Call(); IsOpen = code == 0; return code; }
    // Nothing is written to or closed while no file is open, nor removed while one is.
    int WriteOutput(const char*, int) override { EXPECT_TRUE(IsOpen); ++Writes; return Call(); }
    int CloseOutput() override { EXPECT_TRUE(IsOpen); IsOpen = false; return Call(); }
    int RemoveFile(const TText& path) override { EXPECT_FALSE(IsOpen); Removed.push_back(Str(path)); return Call(); }
    // As FormatMessage words them; for 1117 nothing but what the report drops.
    TText ErrorText(int code) override
    {
        return code == 32 ? InUse + TText(".\r\n") : code == 5 ? "Access is denied.\r\n" : code == 1117 ? " .\r\n" : "";
    }
    bool ShellOpen(const TText&) override { return false; }
    bool ShellRun(const TText&) override { return false; }
    bool IsShellRunActive() override { return ShellRunActive; }
};

// The script's lines end in CR LF; here they are written with "\n".
std::string CrLf(std::string text)
{
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.insert(at, 1, '\r');
    return text;
}

} // namespace

// Start after Start on one job: each shows the messages of its own failing checks
// in order, and leaves its own error flag and bitrate, not those of the Start before.
TEST(ValidateStart, MessagesInCheckOrderAndTheBitrateWrittenBack)
{
    const struct {
        int Files; bool EncoderThere, Running, Custom;
        const char *Bitrate, *Aspect, *Format, *BitrateText; Texts Messages;
    } starts[] = {
        {1, true, false, true, "5000", "4:3", "NTSC", "5000", {}},
        {-1, false, false, true, "9001", "4:3&calc", "pal", "5000", {NoFiles, NoEncoder, BadCustom, BadAspect, BadFormat}},
        // An accepted bitrate is kept when another check fails.
        {0, true, false, true, "2500", "16:9", "PAL", "2500", {NoFiles}},
        {1, true, false, false, "abc", "4:3 ", "PAL ", "2500", {BadBitrate, BadAspect, BadFormat}},
        {1, false, false, false, "8000", "16:10", "NTSC&calc", "8000", {NoEncoder, BadAspect, BadFormat}},
        // While the script of the last Start runs, nothing else counts.
        {0, false, true, true, "9001", "", "", "8000", {StillRunning}},
        // Either bitrate box, the preset one can be typed into too: 100 to 9000.
        {1, true, false, false, "99", "4:3", "NTSC", "8000", {BadBitrate}},
        {1, true, false, true, "0100", "4:3", "NTSC", "100", {}},
        {1, true, false, false, "9000", "", "", "9000", {BadAspect, BadFormat}},
    };
    TJobSettings s;
    InitJobSettings(s);
    TFakeJobPlatform platform;
    for (const auto& c : starts) {
        s.FileCount = c.Files;
        platform.EncoderThere = c.EncoderThere;
        platform.ShellRunActive = c.Running;
        const TStartMessages messages = ValidateStart(s, c.Custom, c.Bitrate, c.Aspect, c.Format, platform);
        const Texts got(messages.Items, messages.Items + messages.Count);
        EXPECT_EQ(got, c.Messages) << c.Bitrate;
        EXPECT_EQ(Str(s.BitrateText), c.BitrateText) << c.Bitrate;
        EXPECT_EQ(s.HasError, !got.empty()) << c.Bitrate;
    }
}

// Start after Start on one job, each script read back byte for byte from a real
// folder, where it replaces what was there.
TEST(WriteScript, ScriptsOfSuccessiveStartsInARealFolder)
{
    const std::vector<TText> holiday = {"D:\\Video\\holiday.avi", "D:\\Video\\Party 2.mpg"};
    const struct {
        const char *FlickPath, *Output, *Aspect, *Format, *Bitrate; bool HalfD1, TwoPass;
        std::vector<TText> Files; const char* Script;
    } starts[] = {
        {"C:\\Program Files\\DVD Flick\\", "E:\\DVD\\", "16:9", "PAL", "6000", false, true, holiday, R"(C:
cd C:\
cd Program Files
cd DVD Flick
ffmpeg.exe -i "D:\Video\holiday.avi" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 1 -passlogfile "logfile.txt" -an -ilme -o -y "E:\DVD\holiday_avi.m2v"
ffmpeg.exe -i "D:\Video\holiday.avi" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 2 -passlogfile "logfile.txt" -an -ilme -o -y "E:\DVD\holiday_avi.m2v"
C:
cd C:\
cd Program Files
cd DVD Flick
ffmpeg.exe -i "D:\Video\Party 2.mpg" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 1 -passlogfile "logfile.txt" -an -ilme -o -y "E:\DVD\Party 2_mpg.m2v"
ffmpeg.exe -i "D:\Video\Party 2.mpg" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 2 -passlogfile "logfile.txt" -an -ilme -o -y "E:\DVD\Party 2_mpg.m2v"
)"},
        // "pal" keeps the target and frame size of the Start before.
        {"C:\\Program Files\\DVD Flick\\", "E:\\DVD\\", "16:9", "pal", "6000", false, false, holiday, R"(C:
cd C:\
cd Program Files
cd DVD Flick
ffmpeg.exe -i "D:\Video\holiday.avi" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576 -an -ilme -o -y "E:\DVD\holiday_avi.m2v"
C:
cd C:\
cd Program Files
cd DVD Flick
ffmpeg.exe -i "D:\Video\Party 2.mpg" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576 -an -ilme -o -y "E:\DVD\Party 2_mpg.m2v"
)"},
        // A repeated file name gets its own output.
        {"D:\\", "E:\\DVD\\", "4:3", "NTSC", "9000", true, false, {"D:\\a\\clip.avi", "D:\\b\\CLIP.avi"}, R"(D:
cd D:\
ffmpeg.exe -i "D:\a\clip.avi" -target ntsc-dvd -minrate 9000k -maxrate 9000k -b 9000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 4:3 -s 352x480 -an -ilme -o -y "E:\DVD\clip_avi.m2v"
D:
cd D:\
ffmpeg.exe -i "D:\b\CLIP.avi" -target ntsc-dvd -minrate 9000k -maxrate 9000k -b 9000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 4:3 -s 352x480 -an -ilme -o -y "E:\DVD\CLIP_avi_2.m2v"
)"},
        // cmd.exe expands "%" even between quotes, and would split a folder name at
        // "&", "|", "<", ">" or "^" outside them. An empty folder name still gets its
        // line; what follows the last backslash gets none. The whole script, with the
        // title and the record, which the other cases leave out.
        {"C:\\100% & more\\\\x|y\\<in>\\C^D\\(x86) v1.2\\%TEMP%\\tail", "E:\\50% (a)\\", "16:9", "NTSC", "6000", false, false,
         {"D:\\%OS%\\a%b ^(1) & c.avi"}, "title [1/1] a%%b ^^^(1^) ^& c.avi - Spindrel\n>>\"E:\\50%% (a)\\convert.log\" echo start 1\n"
         "C:\ncd C:\\\ncd \"100%% & more\"\ncd \ncd \"x|y\"\ncd \"<in>\"\ncd \"C^D\"\ncd (x86) v1.2\ncd %%TEMP%%\n"
         R"(ffmpeg.exe -i "D:\%%OS%%\a%%b ^(1) & c.avi" -target ntsc-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x480 -an -ilme -o -y "E:\50%% (a)\a%%b ^(1) & c_avi.m2v"
if not %errorlevel%==0 >>"E:\50%% (a)\convert.log" echo fail %errorlevel%
>>"E:\50%% (a)\convert.log" echo end
)"},
        {"D:\\", "E:\\DVD\\", "16:9", "PAL", "6000", true, false, {"v.mpg"}, R"(D:
cd D:\
ffmpeg.exe -i "v.mpg" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 352x576 -an -ilme -o -y "E:\DVD\v_mpg.m2v"
)"},
    };
    TTempFolder folder;
    TJobSettings s;
    InitJobSettings(s);
    s.ScriptPath = (folder.Path() + "convert.bat").c_str();
    std::ofstream(Str(s.ScriptPath), std::ios::binary) << std::string(20000, 'x');
    for (const auto& c : starts) {
        s.FlickPath = c.FlickPath;
        s.Drive = s.FlickPath.Left(2);
        s.OutputFolder = c.Output;
        const TScriptResult result = WriteScript(s, c.Aspect, c.Format, c.Bitrate, c.HalfD1, c.TwoPass, c.Files.data(),
                                                 static_cast<int>(c.Files.size()), SystemJobPlatform());
        EXPECT_TRUE(result.Succeeded() && result.Text.IsEmpty()) << result.Code;
        std::string script = ReadBytes(Str(s.ScriptPath)), lines;
        for (size_t at = 0, end; c.Script[0] != 't' && (end = script.find('\n', at)) != std::string::npos; at = end + 1)
            if (script.compare(at, 6, "title ") && script.compare(at, 2, ">>") && script.compare(at, 7, "if not "))
                lines += script.substr(at, end + 1 - at);
        EXPECT_EQ(c.Script[0] != 't' ? lines : script, CrLf(c.Script)) << c.FlickPath;
    }

    // A folder named like the encoder is no encoder; a script that is not there is
    // not launched.
    s.FileCount = 1;
    s.FlickPath = folder.Path().c_str();
    const std::string encoder = folder.Path() + "ffmpeg.exe";
    std::filesystem::create_directory(encoder);
    EXPECT_EQ(ValidateStart(s, false, "9000", "4:3", "NTSC", SystemJobPlatform()).Count, 1);
    std::filesystem::remove(encoder);
    std::ofstream(encoder) << "";
    EXPECT_EQ(ValidateStart(s, false, "9000", "4:3", "NTSC", SystemJobPlatform()).Count, 0);
    s.ScriptPath = (folder.Path() + "missing.bat").c_str();
    EXPECT_FALSE(LaunchScript(s, SystemJobPlatform()));
}

// No write follows a failed one; the file is closed, and removed when it was created.
// An old record that cannot be removed stops all before. 300 files take several writes.
TEST(WriteScript, FailureStopsWritingAndRemovesOnlyWhatItCreated)
{
    std::vector<TText> files;
    for (int i = 0; i < 300; ++i)
        files.push_back(("D:\\Video\\clip " + std::to_string(i) + ".avi").c_str());
    const auto write = [&files](TFakeJobPlatform& platform) {
        TJobSettings s;
        InitJobSettings(s);
        return WriteScript(s, "16:9", "PAL", "6000", false, true, files.data(), 300, platform);
    };
    TFakeJobPlatform whole;
    ASSERT_TRUE(write(whole).Succeeded());
    ASSERT_GE(whole.Writes, 3);
    const int closeCall = whole.Writes + 3;

    const struct {
        int FailingCall, Code; const char* Text; int Writes;
    } cases[] = {
        {1, 32, InUse, 0}, {2, 2, "File not found", 0}, {2, 4, "Too many open files", 0}, {2, 5, "File access denied", 0},
        // Other codes in the system's words, which the report ends with its own period.
        {3, 101, "Disk full", 1}, {4, 32, InUse, 2}, {closeCall, 1117, "I/O error 1117", whole.Writes},
    };
    for (const auto& c : cases) {
        TFakeJobPlatform platform;
        platform.FailingCall = c.FailingCall;
        platform.FailureCode = c.Code;
        const TScriptResult result = write(platform);
        EXPECT_EQ(result.Code, c.Code) << c.Text;
        EXPECT_EQ(Str(result.Text + result.Path), c.Text + std::string(c.FailingCall > 1 ? "C:\\convert.bat" : "C:\\convert.log"));
        EXPECT_EQ(platform.Writes, c.Writes) << c.Text;
        EXPECT_FALSE(platform.IsOpen) << c.Text;
        EXPECT_EQ(platform.Removed, c.FailingCall > 2 ? Texts({"C:\\convert.log", "C:\\convert.bat"}) : Texts{"C:\\convert.log"}) << c.Text;
    }
}

// A base name's first use keeps it; each later one (ignoring case, as Windows does)
// gets the smallest number from 2 that makes no name the script uses anywhere else.
TEST(TOutputNumbers, LaterRepeatsOfABaseNameGetNumbers)
{
    const std::vector<std::pair<std::vector<const char*>, std::vector<int>>> cases = {
        {{"D:\\a\\clip.avi", "D:\\b\\clip.avi", "E:\\clip.avi"}, {0, 2, 3}},
        {{"D:\\a\\clip.avi", "D:\\b\\clip_avi"}, {0, 2}},
        {{"D:\\a\\clip.avi", "D:\\b\\clip.avi", "D:\\c\\CLIP_AVI_2"}, {0, 3, 0}},
        {{"D:\\a\\clip_avi_2", "D:\\a\\clip.avi", "D:\\b\\clip.avi"}, {0, 0, 3}},
        {{"D:\\a\\x.avi", "D:\\b\\x.avi", "D:\\c\\x_avi_2", "D:\\d\\x.avi"}, {0, 3, 0, 4}},
    };
    for (const auto& c : cases) {
        TJobSettings s;
        const std::vector<TText> paths(c.first.begin(), c.first.end());
        const TOutputNumbers numbers(s, paths.data(), static_cast<int>(paths.size()));
        for (size_t i = 0; i < paths.size(); ++i)
            EXPECT_EQ(numbers[static_cast<int>(i)], c.second[i]) << Str(paths[i]);
    }
}
