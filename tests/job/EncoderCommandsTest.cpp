#include "job/EncoderCommands.h"

#include "JobTestSupport.h"

namespace {

TJobSettings StartedSettings()
{
    TJobSettings s;
    InitJobSettings(s);
    s.OutputFolder = "E:\\DVD\\";
    return s;
}

std::string OnePassLine(const char* aspect, const char* format, const char* bitrate, bool halfD1,
                        const char* path, int number)
{
    TJobSettings s = StartedSettings();
    CaptureEncoderSettings(s, aspect, format, bitrate, halfD1);
    BuildCommandLines(s, path, false, number);
    return Str(s.OnePassCommand);
}

std::vector<int> NumbersOf(const std::vector<const char*>& paths)
{
    TJobSettings s = StartedSettings();
    std::vector<TText> texts(paths.begin(), paths.end());
    const TOutputNumbers numbers(s, texts.data(), static_cast<int>(texts.size()));
    std::vector<int> result;
    for (size_t i = 0; i < texts.size(); ++i)
        result.push_back(numbers[static_cast<int>(i)]);
    return result;
}

} // namespace

TEST(BuildCommandLines, WorkedExampleInAllThreeVariants)
{
    TJobSettings s = StartedSettings();
    CaptureEncoderSettings(s, "16:9", "PAL", "6000", false);
    BuildCommandLines(s, "D:\\Video\\holiday.avi", true, 0);
    EXPECT_EQ(Str(s.Pass1Command), HolidayPass1);
    EXPECT_EQ(Str(s.Pass2Command), HolidayPass2);
    EXPECT_TRUE(s.OnePassCommand.IsEmpty());
    BuildCommandLines(s, "D:\\Video\\holiday.avi", false, 0);
    EXPECT_EQ(Str(s.OnePassCommand), HolidayOnePass);
}

TEST(BuildCommandLines, NtscHalfD1RepeatNumberAndTypedTextsUnaltered)
{
    EXPECT_EQ(OnePassLine("4:3", "NTSC", "9000", true, "D:\\Video\\holiday.avi", 3),
              "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target ntsc-dvd -minrate 9000k -maxrate 9000k -b 9000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 4:3 -s 352x480 -an -ilme -o -y \"E:\\DVD\\holiday_avi_3.m2v\"");
    EXPECT_EQ(OnePassLine("2.35", "PAL", "abc", false, "clip", 0),
              "ffmpeg.exe -i \"clip\" -target pal-dvd -minrate abck -maxrate abck -b abck -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 2.35 -s 720x576 -an -ilme -o -y \"E:\\DVD\\clip.m2v\"");
    // An unknown format in the first Start leaves target and frame size empty.
    const std::string line = OnePassLine("16:9", "pal", "6000", false, "D:\\a.avi", 0);
    EXPECT_NE(line.find(" -target  -minrate "), std::string::npos) << line;
    EXPECT_NE(line.find(" -s  -an "), std::string::npos) << line;
}

TEST(CaptureEncoderSettings, TargetAndFrameSizeFollowFormatAndHalfD1)
{
    TJobSettings s = StartedSettings();
    const struct {
        const char* Format;
        bool HalfD1;
        const char* Target;
        const char* FrameSize;
    } cases[] = {
        {"NTSC", false, "ntsc-dvd", "720x480"}, {"NTSC", true, "ntsc-dvd", "352x480"},
        {"PAL", true, "pal-dvd", "352x576"},
        // Anything but exactly "PAL" or "NTSC" keeps what the last Start chose.
        {"pal", false, "pal-dvd", "352x576"}, {"PAL ", false, "pal-dvd", "352x576"},
        {"ntsc", false, "pal-dvd", "352x576"}, {"", false, "pal-dvd", "352x576"},
        {"PAL", false, "pal-dvd", "720x576"},
    };
    for (const auto& c : cases) {
        CaptureEncoderSettings(s, "4:3", c.Format, "1000", c.HalfD1);
        EXPECT_EQ(Str(s.Target), c.Target) << '"' << c.Format << '"';
        EXPECT_EQ(Str(s.FrameSize), c.FrameSize) << '"' << c.Format << '"';
        EXPECT_EQ(Str(s.FormatText), c.Format);
    }
}

TEST(TOutputNumbers, LaterRepeatsOfABaseNameGetNumbers)
{
    using V = std::vector<int>;
    EXPECT_EQ(NumbersOf({}), V{});
    EXPECT_EQ(NumbersOf({"D:\\a\\clip.avi", "D:\\b\\other.avi"}), (V{0, 0}));
    EXPECT_EQ(NumbersOf({"D:\\a\\clip.avi", "D:\\b\\clip.avi", "E:\\clip.avi"}), (V{0, 2, 3}));
    // Windows file names ignore case; dots and underscores meet in one base name.
    EXPECT_EQ(NumbersOf({"D:\\a\\Clip.AVI", "D:\\b\\clip.avi"}), (V{0, 2}));
    EXPECT_EQ(NumbersOf({"D:\\a\\clip.avi", "D:\\b\\clip_avi"}), (V{0, 2}));
    // A number never makes a name that the script already uses, earlier or later.
    EXPECT_EQ(NumbersOf({"D:\\a\\clip.avi", "D:\\b\\clip.avi", "D:\\c\\CLIP_AVI_2"}), (V{0, 3, 0}));
    EXPECT_EQ(NumbersOf({"D:\\a\\clip_avi_2", "D:\\a\\clip.avi", "D:\\b\\clip.avi"}), (V{0, 0, 3}));
    EXPECT_EQ(NumbersOf({"D:\\a\\x.avi", "D:\\b\\x.avi", "D:\\c\\x_avi_2", "D:\\d\\x.avi"}), (V{0, 3, 0, 4}));
}
