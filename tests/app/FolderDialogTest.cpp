// The DVD Flick folder and the output folder, chosen in the folder dialogs, and a
// script that cannot be written where the user pointed.
#include "app/AppTest.h"

#include <fstream>
#include <iostream>

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

// The small disk that the test run mounts (tools/small-disk.sh), or "" where
// none could be mounted: the full disk is then left out.
std::string SmallDisk()
{
    ULARGE_INTEGER size;
    if (!GetDiskFreeSpaceExA(SMALL_DISK_DIR, nullptr, &size, nullptr) || size.QuadPart > 1024 * 1024)
        return "";
    return SMALL_DISK_DIR;
}

// Fills the disk with the file at path, then gives its last kilobyte back: a
// script of two files fills it part-way, after the first file's lines.
void FillAllButOneBlock(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string block(1024, 'x');
    LONG size = 0;
    for (DWORD written; WriteFile(file, block.data(), 1024, &written, nullptr) && written == 1024;)
        size += 1024;
    SetFilePointer(file, size - 1024, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

// Each way the script's write fails, with the words the user reads after
// "Cannot write <script>: ". Wine running as root ignores file permissions, so
// the faults are made with what it honours (the read-only attribute, which the
// program checks itself as Windows would). A failed Start launches nothing,
// leaves the script's place as it was and the window with its list and
// settings; once the cause is mended the same Start converts.
TEST_F(FolderDialogTest, EachFailedWriteIsReportedAndTheSameStartWorksOnceItsCauseIsMended)
{
    InstallEncoder();
    const Texts clips = {MakeFile("clip.avi"), MakeFile("film.avi")};
    for (const std::string& clip : clips)
        AddVideoFile(clip);
    App.StepComboTo(Ctl(FormatCombo), 1);
    Require("two files and PAL",
            [&] { return App.ListItems(Ctl(FileList)) == clips && App.Text(Ctl(FormatCombo)) == "PAL"; });
    // What stands at path: its attributes (none, a folder, a file) and content.
    const auto place = [](const std::string& path) {
        return std::to_string(GetFileAttributesA(path.c_str())) + " " + ReadFile(path);
    };
    const auto script = [](const std::string& folder) { return folder + "\\convert.bat"; };
    HANDLE held = INVALID_HANDLE_VALUE;
    const struct {
        std::string Folder;
        std::function<void(const std::string& folder)> Spoil, Mend;
        std::string Text;
    } faults[] = {
        // The folder dialog may hold the chosen folder open for a moment.
        {MakeFolder("Gone"),
         [](const std::string& f) { Require("the folder removed", [&] { return RemoveDirectoryA(f.c_str()) != 0; }); },
         [](const std::string& f) { CreateDirectoryA(f.c_str(), nullptr); }, "Invalid filename"},
        {MakeFolder("Read-only"),
         [&](const std::string& f) {
             std::ofstream(script(f)) << "rem kept";
             SetFileAttributesA(script(f).c_str(), FILE_ATTRIBUTE_READONLY);
         },
         [&](const std::string& f) { SetFileAttributesA(script(f).c_str(), FILE_ATTRIBUTE_NORMAL); },
         "File access denied"},
        {MakeFolder("Held"),
         [&](const std::string& f) {
             held = CreateFileA(script(f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
         },
         [&](const std::string&) { CloseHandle(held); }, "Sharing violation"},
        {MakeFolder("Taken"), [&](const std::string& f) { CreateDirectoryA(script(f).c_str(), nullptr); },
         [&](const std::string& f) { RemoveDirectoryA(script(f).c_str()); }, "File access denied"},
        {SmallDisk(),
         [&](const std::string& f) {
             DeleteFileA(script(f).c_str());
             FillAllButOneBlock(f + "\\filler");
         },
         [](const std::string& f) { DeleteFileA((f + "\\filler").c_str()); }, "Disk full"},
        // 250 characters: the folder can be chosen, but the script's path is too long.
        {MakeFolder(std::string(234, 'x')), [](const std::string&) {},
         [&](const std::string&) {
             App.Click(Ctl(OutputFolderButton));
             App.ChooseFolder(OutputTitle, MakeFolder("Short"));
         },
         "File name is too long"},
    };
    for (const auto& fault : faults) {
        if (fault.Folder.empty()) {
            std::cout << "No small disk is mounted at " SMALL_DISK_DIR ": the full disk is left out\n";
            continue;
        }
        SCOPED_TRACE("writing into " + fault.Folder);
        App.Click(Ctl(OutputFolderButton));
        App.ChooseFolder(OutputTitle, fault.Folder);
        Require("the output folder in its box", [&] { return App.Text(Ctl(OutputFolderEdit)) == fault.Folder + "\\"; });
        fault.Spoil(fault.Folder);
        const std::string before = place(script(fault.Folder));

        App.Click(Ctl(StartButton));
        EXPECT_EQ(AnswerMessageBox(), "Cannot write " + script(fault.Folder) + ": " + fault.Text + ".");
        App.Sync();
        EXPECT_EQ(App.ListItems(Ctl(FileList)), clips);
        EXPECT_EQ(App.Text(Ctl(FormatCombo)), "PAL");
        EXPECT_FALSE(IsIconic(App.MainWindow()));
        EXPECT_FALSE(FileExists(EncoderLog));
        EXPECT_EQ(place(script(fault.Folder)), before) << "no half-written script is left";

        fault.Mend(fault.Folder);
        App.Click(Ctl(StartButton));
        Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
        EXPECT_EQ(RequireEncoderCalls(4).size(), 8u);
        ShowWindow(App.MainWindow(), SW_RESTORE);
        Require("the window restored and the encoder's log removed", [&] {
            return !IsIconic(App.MainWindow()) && (DeleteFileA(EncoderLog) || !FileExists(EncoderLog));
        });
    }
}

} // namespace
