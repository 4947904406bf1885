#include "job/EncoderCommands.h"

#include "JobTestSupport.h"

namespace {

const char Holiday2Pass1[] =
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 1 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"";
const char Holiday2Pass2[] =
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 16:9 -s 720x576 -pass 2 -passlogfile \"logfile.txt\" -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"";
const char Holiday1Pass[] =
    "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target pal-dvd -minrate 6000k -maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 16:9 -s 720x576 -an -ilme -o -y \"E:\\DVD\\holiday_avi.m2v\"";

TJobSettings StartedSettings()
{
    TJobSettings s;
    InitJobSettings(s);
    s.OutputFolder = "E:\\DVD\\";
    return s;
}

std::string BaseNameOf(const char* path)
{
    TJobSettings s = StartedSettings();
    DeriveBaseName(s, path);
    return Str(s.BaseName);
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
    EXPECT_EQ(Str(s.Target), "pal-dvd");
    EXPECT_EQ(Str(s.FrameSize), "720x576");

    BuildCommandLines(s, "D:\\Video\\holiday.avi", true, 0);
    EXPECT_EQ(Str(s.BaseName), "holiday_avi");
    EXPECT_EQ(Str(s.Pass1Command), Holiday2Pass1);
    EXPECT_EQ(Str(s.Pass2Command), Holiday2Pass2);
    EXPECT_TRUE(s.OnePassCommand.IsEmpty());

    BuildCommandLines(s, "D:\\Video\\holiday.avi", false, 0);
    EXPECT_EQ(Str(s.OnePassCommand), Holiday1Pass);
}

TEST(BuildCommandLines, NtscHalfD1AndARepeatNumber)
{
    TJobSettings s = StartedSettings();
    CaptureEncoderSettings(s, "4:3", "NTSC", "9000", true);
    BuildCommandLines(s, "D:\\Video\\holiday.avi", false, 3);
    EXPECT_EQ(Str(s.OnePassCommand),
              "ffmpeg.exe -i \"D:\\Video\\holiday.avi\" -target ntsc-dvd -minrate 9000k -maxrate 9000k -b 9000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 4:3 -s 352x480 -an -ilme -o -y \"E:\\DVD\\holiday_avi_3.m2v\"");
}

TEST(BuildCommandLines, TypedTextsAreUsedUnaltered)
{
    TJobSettings s = StartedSettings();
    CaptureEncoderSettings(s, "2.35", "PAL", "abc", false);
    BuildCommandLines(s, "clip", false, 0);
    EXPECT_EQ(Str(s.OnePassCommand),
              "ffmpeg.exe -i \"clip\" -target pal-dvd -minrate abck -maxrate abck -b abck -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect 2.35 -s 720x576 -an -ilme -o -y \"E:\\DVD\\clip.m2v\"");
}

TEST(BuildCommandLines, UnknownFormatInTheFirstStartLeavesTargetAndFrameSizeEmpty)
{
    TJobSettings s = StartedSettings();
    CaptureEncoderSettings(s, "16:9", "pal", "6000", false);
    BuildCommandLines(s, "D:\\a.avi", true, 0);
    const std::string line = Str(s.Pass1Command);
    EXPECT_NE(line.find(" -target  -minrate "), std::string::npos) << line;
    EXPECT_NE(line.find(" -s  -pass 1 "), std::string::npos) << line;
}

TEST(CaptureEncoderSettings, TargetAndFrameSizeFollowFormatAndHalfD1)
{
    TJobSettings s = StartedSettings();
    CaptureEncoderSettings(s, "4:3", "NTSC", "1000", false);
    EXPECT_EQ(Str(s.Target), "ntsc-dvd");
    EXPECT_EQ(Str(s.FrameSize), "720x480");
    EXPECT_EQ(Str(s.AspectText), "4:3");
    EXPECT_EQ(Str(s.FormatText), "NTSC");
    EXPECT_EQ(Str(s.BitrateText), "1000");

    CaptureEncoderSettings(s, "4:3", "NTSC", "1000", true);
    EXPECT_EQ(Str(s.Target), "ntsc-dvd");
    EXPECT_EQ(Str(s.FrameSize), "352x480");

    CaptureEncoderSettings(s, "4:3", "PAL", "1000", true);
    EXPECT_EQ(Str(s.Target), "pal-dvd");
    EXPECT_EQ(Str(s.FrameSize), "352x576");

    // Anything but exactly "PAL" or "NTSC" keeps what the last Start chose.
    for (const char* format : {"pal", "PAL ", "ntsc", "SECAM", ""}) {
        CaptureEncoderSettings(s, "4:3", format, "1000", false);
        EXPECT_EQ(Str(s.Target), "pal-dvd") << format;
        EXPECT_EQ(Str(s.FrameSize), "352x576") << format;
        EXPECT_EQ(Str(s.FormatText), format);
    }

    CaptureEncoderSettings(s, "4:3", "PAL", "1000", false);
    EXPECT_EQ(Str(s.FrameSize), "720x576");
}

TEST(CaptureEncoderSettings, AcceptedCustomBitrateBeatsThePreset)
{
    TJobSettings s = StartedSettings();
    s.BitrateText = "150";
    s.UseCustomBitrate = true;
    CaptureEncoderSettings(s, "4:3", "PAL", "8000", false);
    EXPECT_EQ(Str(s.BitrateText), "150");
    s.UseCustomBitrate = false;
    CaptureEncoderSettings(s, "4:3", "PAL", "8000", false);
    EXPECT_EQ(Str(s.BitrateText), "8000");
}

TEST(DeriveBaseName, FileNamePartWithDotsMadeUnderscores)
{
    EXPECT_EQ(BaseNameOf("D:\\Video\\holiday.avi"), "holiday_avi");
    EXPECT_EQ(BaseNameOf("D:\\a.b\\clip.part1.mpg"), "clip_part1_mpg");
    EXPECT_EQ(BaseNameOf("D:\\Video\\Party 2.mpg"), "Party 2_mpg");
    EXPECT_EQ(BaseNameOf("D:\\Video\\noext"), "noext");
    EXPECT_EQ(BaseNameOf("clip.part1.mpg"), "clip_part1_mpg");
    EXPECT_EQ(BaseNameOf("D:\\x/y.avi"), "x/y_avi");
    EXPECT_EQ(BaseNameOf("D:\\v\\.hidden."), "_hidden_");
    EXPECT_EQ(BaseNameOf("D:\\v\\"), "");
    EXPECT_EQ(BaseNameOf(""), "");
}

TEST(TOutputNumbers, LaterRepeatsOfABaseNameGetNumbers)
{
    using V = std::vector<int>;
    EXPECT_EQ(NumbersOf({}), V{});
    EXPECT_EQ(NumbersOf({"D:\\a\\clip.avi", "D:\\b\\other.avi"}), (V{0, 0}));
    EXPECT_EQ(NumbersOf({"D:\\a\\clip.avi", "D:\\b\\clip.avi", "E:\\clip.avi"}), (V{0, 2, 3}));
    // Windows file names ignore case.
    EXPECT_EQ(NumbersOf({"D:\\a\\Clip.AVI", "D:\\b\\clip.avi"}), (V{0, 2}));
    // Dots and underscores meet in one base name.
    EXPECT_EQ(NumbersOf({"D:\\a\\clip.avi", "D:\\b\\clip_avi"}), (V{0, 2}));
    // A number never makes a name that the script already uses, earlier or later.
    EXPECT_EQ(NumbersOf({"D:\\a\\clip.avi", "D:\\b\\clip.avi", "D:\\c\\CLIP_AVI_2"}), (V{0, 3, 0}));
    EXPECT_EQ(NumbersOf({"D:\\a\\clip_avi_2", "D:\\a\\clip.avi", "D:\\b\\clip.avi"}), (V{0, 0, 3}));
    EXPECT_EQ(NumbersOf({"D:\\a\\x.avi", "D:\\b\\x.avi", "D:\\c\\x_avi_2", "D:\\d\\x.avi"}), (V{0, 3, 0, 4}));
}
