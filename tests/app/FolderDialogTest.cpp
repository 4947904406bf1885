// The DVD Flick folder and the output folder, chosen in the folder dialogs, and a
// script that cannot be written where the user pointed.
#include "app/AppTest.h"

namespace {

using FolderDialogTest = AppTest;
using Texts = std::vector<std::string>;

const char* const FlickTitle = "Select a DVD Flick Folder";
const char* const OutputTitle = "Select an Output Folder";

TEST_F(FolderDialogTest, ChosenFoldersShapeTheScriptAndWhereItIsWritten)
{
    const std::string flick = MakeFolder("Flick Dir"), output = MakeFolder("Out");
    InstallEncoder(flick);
    App.Click(Ctl(ChangeFlickPathButton));
    App.ChooseFolder(FlickTitle, flick);
    Require("the DVD Flick folder in its box", [&] { return App.Text(Ctl(FlickPathEdit)) == flick + "\\"; });
    App.Click(Ctl(OutputFolderButton));
    App.ChooseFolder(OutputTitle, output);
    Require("the output folder in its box", [&] { return App.Text(Ctl(OutputFolderEdit)) == output + "\\"; });
    const std::string clip = MakeFile("clip.avi");
    AddVideoFile(clip);

    App.Click(Ctl(StartButton));
    Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
    const std::string settings = " -target ntsc-dvd -minrate 9000k -maxrate 9000k -b 9000k -preme 1 -precmp 2 "
                                 "-subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect 4:3 -s 720x480 -pass ";
    const std::string target = " -passlogfile \"logfile.txt\" -an -ilme -o -y \"" + output + "\\clip_avi.m2v\"";
    const std::string pass1 = "ffmpeg.exe -i \"" + clip + "\"" + settings + "1" + target;
    const std::string pass2 = "ffmpeg.exe -i \"" + clip + "\"" + settings + "2" + target;
    EXPECT_EQ(ReadFile(output + "\\convert.bat"),
              "C:\r\ncd C:\\\r\ncd spindrel-e2e\r\ncd Flick Dir\r\n" + pass1 + "\r\n" + pass2 + "\r\n");
    EXPECT_FALSE(FileExists("C:\\convert.bat"));
    EXPECT_EQ(RequireEncoderCalls(2), (Texts{pass1, "cwd=" + flick, pass2, "cwd=" + flick}));
}

// "Start" uses the folders the boxes show: typed ones pass the checks of chosen
// ones, a refusal writes nothing, and an accepted one gets its backslash.
TEST_F(FolderDialogTest, TypedFoldersAreCheckedAtStartAndShapeTheScript)
{
    const std::string flick = MakeFolder("Typed Flick"), output = MakeFolder("Typed Out");
    InstallEncoder(flick);
    AddVideoFile(MakeFile("clip.avi"));
    const struct {
        ControlId Box;
        std::string Text;
        const char* Refusal;
    } typed[] = {
        {FlickPathEdit, "\\\\server\\share\\DVD Flick\\",
         "Please choose a folder on a drive with a letter (C:\\...)"},
        {FlickPathEdit, flick, nullptr},
        {OutputFolderEdit, "C:\\Dossier \xE9t\xE9", "Please do not use foreign characters in path names"},
        {OutputFolderEdit, output, nullptr},
    };
    for (const auto& t : typed) {
        App.TypeOver(Ctl(t.Box), t.Text);
        if (!t.Refusal)
            continue;
        App.Click(Ctl(StartButton));
        EXPECT_EQ(AnswerMessageBox(), t.Refusal);
        App.Sync();
        EXPECT_FALSE(App.HasDialog());
        EXPECT_EQ(App.Text(Ctl(t.Box)), t.Text);
    }

    App.Click(Ctl(StartButton));
    Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
    EXPECT_EQ(App.Text(Ctl(FlickPathEdit)), flick + "\\");
    EXPECT_EQ(App.Text(Ctl(OutputFolderEdit)), output + "\\");
    // Written into the typed output folder, the script walks down to the typed
    // DVD Flick folder.
    const Texts calls = RequireEncoderCalls(2);
    EXPECT_NE(calls[0].find("\"" + output + "\\clip_avi.m2v\""), std::string::npos) << calls[0];
    EXPECT_EQ(calls[1], "cwd=" + flick);
    EXPECT_TRUE(FileExists(output + "\\convert.bat"));
    EXPECT_FALSE(FileExists("C:\\convert.bat"));
}

TEST_F(FolderDialogTest, FoldersWithAForeignCharacterAreRefused)
{
    const std::string foreign = MakeFolder("Dossier \xE9t\xE9");
    App.Click(Ctl(OutputFolderButton));
    App.ChooseFolder(OutputTitle, foreign);
    EXPECT_EQ(AnswerMessageBox(), "Please do not use foreign characters in path names");
    EXPECT_EQ(App.Text(Ctl(OutputFolderEdit)), "C:\\");

    App.Click(Ctl(ChangeFlickPathButton));
    App.ChooseFolder(FlickTitle, foreign);
    EXPECT_EQ(AnswerMessageBox(), "Please do not use foreign characters in path names");
    EXPECT_EQ(App.Text(Ctl(FlickPathEdit)), "C:\\Program Files\\DVD Flick\\");
}

// A failed write of the script is a runtime error that no handler catches: the
// program's last-chance report names it, and the program ends with exit code 1.
// Under Wine as root no file permission stops a write, so the output folder is
// spoilt in ways that do: a folder standing where the script goes, or the output
// folder removed after it was chosen.
// A script that cannot be written is reported with its path and the error; the
// window keeps its list and settings, nothing is launched, and once the cause is
// mended the same list starts.
class UnwritableScriptTest : public AppTest {
protected:
    void StartInto(const std::string& output, const std::function<void()>& spoil,
                   const std::string& error, const std::function<void()>& mend)
    {
        InstallEncoder();
        App.Click(Ctl(OutputFolderButton));
        App.ChooseFolder(OutputTitle, output);
        Require("the output folder in its box", [&] { return App.Text(Ctl(OutputFolderEdit)) == output + "\\"; });
        const std::string clip = MakeFile("clip.avi");
        AddVideoFile(clip);
        Require("the file in the list", [&] { return App.ListItems(Ctl(FileList)).size() == 1; });
        spoil();

        App.Click(Ctl(StartButton));
        const DialogView report = App.WaitForDialog("Spindrel");
        EXPECT_EQ(report.Text, "Cannot write " + output + "\\convert.bat: " + error + ".");
        EXPECT_EQ(report.Buttons, Texts{"OK"});
        App.CloseDialog(report, "OK");
        App.Sync();
        EXPECT_EQ(App.ListItems(Ctl(FileList)), Texts{clip});
        EXPECT_FALSE(IsIconic(App.MainWindow()));
        EXPECT_FALSE(FileExists(EncoderLog));
        const DWORD script = GetFileAttributesA((output + "\\convert.bat").c_str());
        EXPECT_TRUE(script == INVALID_FILE_ATTRIBUTES || (script & FILE_ATTRIBUTE_DIRECTORY))
            << "no half-written script is left behind";

        mend();
        App.Click(Ctl(StartButton));
        Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
        EXPECT_EQ(RequireEncoderCalls(2).size(), 4u);
    }
};

TEST_F(UnwritableScriptTest, AFolderInTheScriptsPlaceIsReportedAsAccessDenied)
{
    const std::string output = MakeFolder("Locked");
    StartInto(output, [&] { MakeFolder("Locked\\convert.bat"); }, "File access denied",
              [&] { RemoveDirectoryA((output + "\\convert.bat").c_str()); });
}

TEST_F(UnwritableScriptTest, AnOutputFolderRemovedAfterChoosingItIsReportedAsInvalidFilename)
{
    const std::string output = MakeFolder("Gone");
    StartInto(output, [&] { RemoveDirectoryA(output.c_str()); }, "Invalid filename",
              [&] { MakeFolder("Gone"); });
}

} // namespace
