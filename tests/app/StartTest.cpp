// "Start": its checks, the folders it takes, the script it writes, the encoder runs
// the script makes, a conversion that still runs, and every way the write fails.
#include "app/AppTest.h"

#include <fstream>
#include <iostream>

using StartTest = AppTest;

const char* const NoFiles = "You have not entered any files for conversion !!!";
const char* const NoEncoder = "Please specify direcory with DVD Flick and FFMpeg !!!";

// The checks come in order, each failing one with its message, and a refusal writes
// nothing. "Start" takes the folders the boxes show: typed ones pass the checks of
// chosen ones and get their backslash. Only items of the aspect and format boxes
// pass: a typed "&" never reaches cmd.exe. The interpreter reads a running script
// line by line, so a second "Start" leaves it alone until the conversion ends; under
// the message the window takes no click. Two inputs of one name get an output each.
TEST_F(StartTest, ChecksFoldersTheScriptAndARunningConversion)
{
    gui::Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), NoFiles);
    EXPECT_EQ(AnswerMessageBox(), NoEncoder);
    gui::Click(Ctl(CustomCheck));
    gui::Require("the custom box to be enabled", [&] { return IsWindowEnabled(Ctl(CustomBitrateEdit)); });
    gui::TypeOver(Ctl(CustomBitrateEdit), "99");
    gui::TypeOver(Ctl(AspectCombo), "4:3&calc");
    gui::TypeOver(Ctl(FormatCombo), "pal");
    gui::TypeOver(Ctl(FlickPathEdit), "\\\\server\\share\\DVD Flick\\");
    gui::Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), "Please choose a folder on a drive with a letter (C:\\...)");
    const std::string flick = MakeFolder("Flick Dir"), output = MakeFolder("Out"), foreign = MakeFolder("D\xE9j\xE0");
    gui::Click(Ctl(ChangeFlickPathButton));
    gui::ChooseFolder(gui::WaitForDialog(ProcessId, nullptr, "Select a DVD Flick Folder"), flick);
    gui::Require("the DVD Flick folder in its box", [&] { return Text(FlickPathEdit) == flick + "\\"; });
    gui::TypeOver(Ctl(OutputFolderEdit), foreign);
    gui::Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), "Please do not use foreign characters in path names");
    EXPECT_EQ(Text(OutputFolderEdit), foreign);
    gui::TypeOver(Ctl(OutputFolderEdit), output);
    gui::Click(Ctl(StartButton));
    for (const char* message : {NoFiles, NoEncoder,
                                "Check the Custom bitrate - enter value between 100 and 9000 using digits only",
                                "Choose the aspect ratio from its list", "Choose the format from its list"})
        EXPECT_EQ(AnswerMessageBox(), message);
    Sync();
    EXPECT_FALSE(HasDialog() || Exists(output + "\\convert.bat") || Minimised());

    InstallEncoder(flick);
    const std::string hold = MakeFile("ffmpeg.log.hold"), first = MakeFile("A held\\clip.avi"), second = MakeFile("B\\clip.avi");
    gui::Click(Ctl(CustomCheck));
    AddVideoFile(first);
    AddVideoFile(second);
    gui::TypeOver(Ctl(FormatCombo), "PAL");
    gui::TypeOver(Ctl(AspectCombo), "16:9");
    StepComboTo(BitrateCombo, 5);
    gui::Click(Ctl(TwoPassCheck));
    gui::Click(Ctl(HalfD1Check));
    StartConversion();
    EXPECT_EQ(Text(OutputFolderEdit), output + "\\");
    Texts lines;
    const std::string record = ">>\"" + output + "\\convert.log\" echo ";
    for (const std::string k : {"1", "2"})
        lines.push_back("title [" + k + "/2] clip.avi - Spindrel\r\n" + record + "start " + k + "\r\nC:\r\ncd C:\\\r\ncd spindrel-e2e\r\n"
                        "cd Flick Dir\r\nffmpeg.exe -i \"" + (k == "1" ? first : second) + "\" -target pal-dvd -minrate 6000k "
                        "-maxrate 6000k -b 6000k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold "
                        "-5000 -bf 1  -aspect 16:9 -s 352x576 -an -ilme -o -y \"" + output + "\\clip_avi" + (k == "1" ? "" : "_2") +
                        ".m2v\"\r\nif not %errorlevel%==0 " + record + "fail %errorlevel%\r\n");
    EXPECT_EQ(ReadFile(output + "\\convert.bat"), lines[0] + lines[1] + record + "end\r\n");
    EXPECT_FALSE(Exists("C:\\convert.bat"));
    RequireEncoderCalls(1);

    ShowWindow(Main, SW_RESTORE);
    gui::Require("the window to be restored", [&] { return !Minimised(); });
    AddVideoFile(MakeFile("second.avi"));
    gui::Click(Ctl(StartButton));
    const gui::Dialog box = gui::WaitForDialog(ProcessId, "Spindrel");
    EXPECT_EQ(box.Text, "A conversion started by Spindrel is still running. Wait for it to finish, then press Start again.");
    EXPECT_FALSE(IsWindowEnabled(Main)) << "the window would take clicks under the message";
    gui::Press(box, "OK");
    Sync();
    EXPECT_FALSE(HasDialog() || Minimised() || !IsWindowEnabled(Main));
    EXPECT_EQ(ReadFile(output + "\\convert.bat"), lines[0] + lines[1] + record + "end\r\n");
    DeleteFileA(hold.c_str());
    WaitForItsProcesses();
    EXPECT_EQ(RequireEncoderCalls(2), Texts({Lines(lines[0])[6], "cwd=" + flick, Lines(lines[1])[6], "cwd=" + flick}));
    EXPECT_EQ(AnswerMessageBox(), "Conversion finished: 2 of 2 videos written to " + output + "\\.");
    StartConversion();
    EXPECT_EQ(RequireEncoderCalls(5).size(), 10u) << "three files, one pass";
    EXPECT_EQ(AnswerMessageBox(), "Conversion finished: 3 of 3 videos written to " + output + "\\.");
    EXPECT_FALSE(Minimised() || HasItsProcesses() || gui::Text(Main) != "Spindrel");
}

// Each way the script's write fails, with the words the user reads after "Cannot
// write <script>: ". Wine running as root ignores file permissions, so the faults
// are made with what it honours (the read-only attribute, which the program checks
// itself as Windows would). A failed Start launches nothing and leaves the script's
// place as it was and the window with its list and settings; once the cause is
// mended the same Start converts.
TEST_F(StartTest, EachFailedWriteIsReportedAndTheSameStartWorksOnceItsCauseIsMended)
{
    InstallEncoder();
    const Texts clips = {MakeFile("clip.avi"), MakeFile("film.avi")};
    for (const std::string& clip : clips)
        AddVideoFile(clip);
    StepComboTo(FormatCombo, 1);
    const auto script = [](const std::string& folder) { return folder + "\\convert.bat"; };
    // What stands at path: its attributes (none, a folder, a file) and content.
    const auto place = [](const std::string& path) { return std::to_string(GetFileAttributesA(path.c_str())) + ReadFile(path); };
    // The small disk that the test run mounts (tools/small-disk.sh), if any.
    ULARGE_INTEGER size;
    const bool disk = GetDiskFreeSpaceExA(SMALL_DISK_DIR, nullptr, &size, nullptr) && size.QuadPart < 1024 * 1024;
    HANDLE held = INVALID_HANDLE_VALUE;
    const auto hold = [&](const std::string& path) { held = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr); };
    const struct {
        std::string Folder;
        std::function<void(const std::string& folder)> Spoil, Mend;
        const char *Text, *File = "convert.bat";
    } faults[] = {
        {MakeFolder("Gone"), [](auto& f) { RemoveDirectoryA(f.c_str()); }, [](auto& f) { CreateDirectoryA(f.c_str(), nullptr); },
         "Invalid filename"},
        {MakeFolder("Read-only"), [&](auto& f) { std::ofstream(script(f)) << "rem kept"; SetFileAttributesA(script(f).c_str(), FILE_ATTRIBUTE_READONLY); },
         [&](auto& f) { SetFileAttributesA(script(f).c_str(), FILE_ATTRIBUTE_NORMAL); }, "File access denied"},
        {MakeFolder("Held"), [&](auto& f) { hold(script(f)); }, [&](auto&) { CloseHandle(held); }, "Sharing violation"},
        // An earlier conversion's record that cannot be removed is named itself.
        {MakeFolder("Held record"), [&](auto& f) { hold(f + "\\convert.log"); }, [&](auto&) { CloseHandle(held); }, "Sharing violation",
         "convert.log"},
        {MakeFolder("Taken"), [&](auto& f) { CreateDirectoryA(script(f).c_str(), nullptr); },
         [&](auto& f) { RemoveDirectoryA(script(f).c_str()); }, "File access denied"},
        {disk ? SMALL_DISK_DIR : "", [&](auto& f) {
             DeleteFileA(script(f).c_str());
             HANDLE file = CreateFileA((f + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
             for (DWORD written = 1; written;) WriteFile(file, std::string(1024, 'x').data(), 1024, &written, nullptr);
             CloseHandle(file); },
         [](auto& f) { DeleteFileA((f + "\\filler").c_str()); }, "Disk full"},
        // 250 characters: a folder, but the record's path, met first, is too long.
        {MakeFolder(std::string(234, 'x')), [](auto&) {}, [&](auto&) { gui::TypeOver(Ctl(OutputFolderEdit), "C:\\"); },
         "File name is too long", "convert.log"},
    };
    for (const auto& fault : faults) {
        if (fault.Folder.empty()) {
            std::cout << "No small disk is mounted at " SMALL_DISK_DIR ": the full disk is left out\n";
            continue;
        }
        SCOPED_TRACE("writing into " + fault.Folder);
        gui::TypeOver(Ctl(OutputFolderEdit), fault.Folder);
        fault.Spoil(fault.Folder);
        const std::string before = place(script(fault.Folder));
        gui::Click(Ctl(StartButton));
        EXPECT_EQ(AnswerMessageBox(), "Cannot write " + fault.Folder + "\\" + fault.File + ": " + fault.Text + ".");
        Sync();
        EXPECT_EQ(gui::Items(Ctl(FileList)), clips);
        EXPECT_EQ(Text(FormatCombo) + Text(OutputFolderEdit), "PAL" + fault.Folder + "\\");
        EXPECT_FALSE(Minimised() || Exists(EncoderLog));
        EXPECT_EQ(place(script(fault.Folder)), before) << "no half-written script is left";

        fault.Mend(fault.Folder);
        StartConversion();
        EXPECT_EQ(RequireEncoderCalls(4).size(), 8u);
        EXPECT_EQ(AnswerMessageBox(), "Conversion finished: 2 of 2 videos written to " + Text(OutputFolderEdit) + ".");
        gui::Require("the encoder's log removed", [&] { return DeleteFileA(EncoderLog) || !Exists(EncoderLog); });
    }
}

// While a conversion runs, the window's title and the console's show its file. Its end
// brings the window back with one message about every file: one stopped from outside
// says where; a failed first pass counts though the second wrote the video.
TEST_F(StartTest, TheTitlesFollowTheConversionAndOneMessageTellsWhatBecameOfEveryFile)
{
    InstallEncoder();
    const std::string out = MakeFolder("Out"), b = MakeFile("b & 100% (held, first pass fails).avi"), hold = MakeFile("ffmpeg.log.hold");
    gui::TypeOver(Ctl(OutputFolderEdit), out);
    for (const std::string& file : {MakeFile("a.avi"), b, MakeFile("c.avi")})
        AddVideoFile(file);
    StartConversion();
    gui::Require("the titles at the second file", [&] {
        return gui::Text(Main) == "[2/3] Spindrel" && gui::TopLevel(0, "WineConsoleClass", "[2/3] b & 100% (held, first pass fails).avi - Spindrel");
    });
    const HANDLE interpreter = OpenProcess(PROCESS_TERMINATE, FALSE, Interpreter());
    EXPECT_TRUE(TerminateProcess(interpreter, 1) && CloseHandle(interpreter));
    EXPECT_EQ(AnswerMessageBox(), "The conversion was stopped during file 2 of 3; 1 video was written to " + out + "\\.");
    EXPECT_FALSE(Minimised() || gui::Text(Main) != "Spindrel");
    DeleteFileA(hold.c_str());
    StartConversion();
    EXPECT_EQ(AnswerMessageBox(), "Conversion finished with errors: 2 of 3 videos written to " + out + "\\.\n" + b + ": ffmpeg.exe ended with code 1");
}
