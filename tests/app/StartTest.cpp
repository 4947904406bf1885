// "Start": its checks, the script it writes and the encoder runs the script makes.
#include "app/AppTest.h"

namespace {

using StartTest = AppTest;
using Texts = std::vector<std::string>;

const char* const NoFiles = "You have not entered any files for conversion !!!";
const char* const NoEncoder = "Please specify direcory with DVD Flick and FFMpeg !!!";
const char* const BadCustomBitrate = "Check the Custom bitrate - enter value between 100 and 9000 using digits only";
const char* const StillRunning =
    "A conversion started by Spindrel is still running. Wait for it to finish, then press Start again.";

// The encoder line of the script for one input, as its 22 pieces put it together.
std::string EncoderLine(const std::string& input, const std::string& settings, const std::string& passOptions,
                        const std::string& output)
{
    return "ffmpeg.exe -i \"" + input + "\"" + settings + passOptions + "\"" + output + "\"";
}

std::string Settings(const std::string& target, const std::string& bitrate, const std::string& options,
                     const std::string& aspect, const std::string& frame)
{
    return " -target " + target + " -minrate " + bitrate + "k -maxrate " + bitrate + "k -b " + bitrate + options +
           aspect + " -s " + frame;
}

const char* const TwoPassOptions = "k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect ";
const char* const OnePassOptions =
    "k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect ";
const char* const Pass1 = " -pass 1 -passlogfile \"logfile.txt\" -an -ilme -o -y ";
const char* const Pass2 = " -pass 2 -passlogfile \"logfile.txt\" -an -ilme -o -y ";
const char* const OnePass = " -an -ilme -o -y ";

// Each file's block starts from the drive's root and walks down to the DVD Flick folder.
const char* const ToDefaultFlickFolder = "C:\r\ncd C:\\\r\ncd Program Files\r\ncd DVD Flick\r\n";

TEST_F(StartTest, WithoutFilesAndEncoderItShowsBothMessagesInOrderAndWritesNothing)
{
    App.Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), NoFiles);
    EXPECT_EQ(AnswerMessageBox(), NoEncoder);
    App.Sync();
    EXPECT_FALSE(App.HasDialog());
    EXPECT_FALSE(FileExists("C:\\convert.bat"));
    EXPECT_FALSE(IsIconic(App.MainWindow()));
}

// Only items of the aspect and format boxes pass: a typed "&" never reaches cmd.exe.
TEST_F(StartTest, ABadCustomBitrateAndTypedAspectAndFormatAddTheirMessages)
{
    App.Click(Ctl(CustomCheck));
    Require("the custom box to be enabled", [&] { return IsWindowEnabled(Ctl(CustomBitrateEdit)) != FALSE; });
    App.TypeOver(Ctl(CustomBitrateEdit), "99");
    App.TypeOver(Ctl(AspectCombo), "4:3&calc");
    App.TypeOver(Ctl(FormatCombo), "pal");

    App.Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), NoFiles);
    EXPECT_EQ(AnswerMessageBox(), NoEncoder);
    EXPECT_EQ(AnswerMessageBox(), BadCustomBitrate);
    EXPECT_EQ(AnswerMessageBox(), "Choose the aspect ratio from its list");
    EXPECT_EQ(AnswerMessageBox(), "Choose the format from its list");
    App.Sync();
    EXPECT_FALSE(App.HasDialog());
    EXPECT_FALSE(FileExists("C:\\convert.bat"));
}

// "Remove" on the empty list and the removal of one of three files keep the
// program's file count in step with the list: the script has one block per file.
TEST_F(StartTest, WritesTheTwoPassScriptAndRunsTheEncoderTwicePerFile)
{
    InstallEncoder();
    const std::string holiday = MakeFile("Video\\holiday.avi"), extra = MakeFile("Video\\extra.avi"),
                      party = MakeFile("Video\\Party 2.mpg");
    App.Click(Ctl(RemoveButton));
    AddVideoFile(holiday);
    AddVideoFile(extra);
    AddVideoFile(party);
    HWND list = Ctl(FileList);
    Require("three files in the list", [&] { return App.ListItems(list).size() == 3; });
    App.ClickListItem(list, 1);
    Require("the second file to be selected", [&] { return App.ListSelection(list) == std::vector<int>{1}; });
    App.Click(Ctl(RemoveButton));
    Require("the second file to be removed", [&] { return App.ListItems(list) == Texts{holiday, party}; });
    App.StepComboTo(Ctl(FormatCombo), 1);
    App.StepComboTo(Ctl(AspectCombo), 1);
    App.StepComboTo(Ctl(BitrateCombo), 5);
    Require("PAL, 16:9 and 6000 chosen", [&] {
        return App.Text(Ctl(FormatCombo)) == "PAL" && App.Text(Ctl(AspectCombo)) == "16:9" &&
               App.Text(Ctl(BitrateCombo)) == "6000";
    });

    App.Click(Ctl(StartButton));
    Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
    const std::string settings = Settings("pal-dvd", "6000", TwoPassOptions, "16:9", "720x576");
    const Texts commands = {
        EncoderLine(holiday, settings, Pass1, "C:\\holiday_avi.m2v"),
        EncoderLine(holiday, settings, Pass2, "C:\\holiday_avi.m2v"),
        EncoderLine(party, settings, Pass1, "C:\\Party 2_mpg.m2v"),
        EncoderLine(party, settings, Pass2, "C:\\Party 2_mpg.m2v"),
    };
    EXPECT_EQ(ReadFile("C:\\convert.bat"), ToDefaultFlickFolder + commands[0] + "\r\n" + commands[1] + "\r\n" +
                                               ToDefaultFlickFolder + commands[2] + "\r\n" + commands[3] + "\r\n");

    const Texts calls = RequireEncoderCalls(4);
    const std::string inFlickFolder = std::string("cwd=") + DefaultFlickFolder;
    EXPECT_EQ(calls, (Texts{commands[0], inFlickFolder, commands[1], inFlickFolder, commands[2], inFlickFolder,
                            commands[3], inFlickFolder}));
    EXPECT_EQ(App.ListItems(list), (Texts{holiday, party}));
    EXPECT_FALSE(App.HasDialog());
}

// Two inputs of one name in different folders would share one output path, and the
// later run would overwrite the earlier one's result; the repeat gets its own name.
TEST_F(StartTest, WritesTheOnePassHalfD1ScriptWithAnOutputPathPerFile)
{
    InstallEncoder();
    const std::string first = MakeFile("A\\clip.avi"), second = MakeFile("B\\clip.avi");
    AddVideoFile(first);
    AddVideoFile(second);
    Require("two files in the list", [&] { return App.ListItems(Ctl(FileList)).size() == 2; });
    App.Click(Ctl(TwoPassCheck));
    App.Click(Ctl(HalfD1Check));
    Require("one pass and half resolution chosen", [&] {
        return App.CheckState(Ctl(TwoPassCheck)) == BST_UNCHECKED && App.CheckState(Ctl(HalfD1Check)) == BST_CHECKED;
    });

    App.Click(Ctl(StartButton));
    Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
    const std::string settings = Settings("ntsc-dvd", "9000", OnePassOptions, "4:3", "352x480");
    const Texts commands = {
        EncoderLine(first, settings, OnePass, "C:\\clip_avi.m2v"),
        EncoderLine(second, settings, OnePass, "C:\\clip_avi_2.m2v"),
    };
    EXPECT_EQ(ReadFile("C:\\convert.bat"),
              ToDefaultFlickFolder + commands[0] + "\r\n" + ToDefaultFlickFolder + commands[1] + "\r\n");
    const Texts calls = RequireEncoderCalls(2);
    EXPECT_EQ(calls[0], commands[0]);
    EXPECT_EQ(calls[2], commands[1]);
}

// The interpreter reads a running script line by line, so a second "Start" must
// leave it alone until the conversion ends. Under the message the window takes no
// click, so no handler runs again beneath it.
TEST_F(StartTest, AnotherStartWaitsUntilTheRunningConversionEnds)
{
    InstallEncoder();
    const std::string hold = MakeFile("ffmpeg.log.hold"), first = MakeFile("first.avi"),
                      second = MakeFile("second.avi");
    AddVideoFile(first);
    Require("one file in the list", [&] { return App.ListItems(Ctl(FileList)).size() == 1; });
    App.Click(Ctl(StartButton));
    Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
    RequireEncoderCalls(1);
    const std::string running = ReadFile("C:\\convert.bat");

    PostMessageA(App.MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Require("the window to be restored", [&] { return IsIconic(App.MainWindow()) == FALSE; });
    AddVideoFile(second);
    Require("two files in the list", [&] { return App.ListItems(Ctl(FileList)).size() == 2; });
    App.Click(Ctl(StartButton));
    const DialogView box = App.WaitForDialog("Spindrel");
    EXPECT_EQ(box.Text, StillRunning);
    App.Click(Ctl(AddFileButton));
    App.CloseDialog(box, "OK");
    App.Sync();
    EXPECT_FALSE(App.HasDialog()) << "a button acted under the message";
    EXPECT_EQ(ReadFile("C:\\convert.bat"), running);
    EXPECT_FALSE(IsIconic(App.MainWindow()));

    DeleteFileA(hold.c_str());
    App.WaitForItsProcesses();
    App.Click(Ctl(StartButton));
    Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
    // Both files in two passes, after the first conversion's two.
    EXPECT_EQ(Lines(ReadFile("C:\\convert.bat")).size(), 12u);
    EXPECT_EQ(RequireEncoderCalls(6).size(), 12u);
}

} // namespace
