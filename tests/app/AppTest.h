// The fixture of the end-to-end tests: each test starts its own spindrel.exe (fresh
// state) and works in the scratch folder C:\spindrel-e2e. What a test may leave in
// the shared Wine prefix (the scratch folder, C:\convert.bat and what it made, the
// test encoder in the default DVD Flick folder, a settings file beside the program)
// is removed around it.
#pragma once

#include "support/GuiDriverWin32.h"

#include <gtest/gtest.h>

// The main window's controls, numbered from 0x8000 in the order the program makes them.
enum ControlId {
    FlickPathGroup = 0x8000, ChangeFlickPathButton, FlickPathEdit, OutputGroup, OutputFolderEdit,
    OutputFolderButton, VideoFilesGroup, FileList, AddFileButton, RemoveButton, SettingsGroup, AspectLabel,
    FormatLabel, BitrateLabel, AspectCombo, FormatCombo, BitrateCombo, CustomCheck, CustomBitrateEdit,
    HalfD1Check, StartButton, TwoPassCheck, EstimateGroup, Dvd43Label, Dvd85Label, EstimateTrigger, LengthsLabel,
};

using Texts = std::vector<std::string>;
using gui::Running;

const char* const EncoderLog = "C:\\spindrel-e2e\\ffmpeg.log";
// Each test's own APPDATA, and the place of a settings file beside spindrel.exe.
const char* const AppData = "C:\\spindrel-e2e\\AppData";
const std::string PortableSettings = std::string(SPINDREL_EXE_PATH, sizeof SPINDREL_EXE_PATH - 13) + "Spindrel.ini";

class AppTest : public ::testing::Test {
public:
    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

protected:
    void SetUp() override;
    void TearDown() override;

    void Launch();   // a new spindrel.exe, once its main window shows; ends the last as a crash would
    DWORD Close();   // as the close box does; answers the exit code
    HWND Ctl(ControlId id) const { return gui::Control(Main, id); }
    std::string Text(ControlId id) const { return gui::Text(Ctl(id)); }
    bool Minimised() const { return IsIconic(Main); }
    bool HasDialog() const { return gui::TopLevel(ProcessId, "#32770"); }
    // Returns once the program has finished the handler it ran and waits for messages.
    void Sync() const { SendMessageA(Main, WM_NULL, 0, 0); }
    void StartConversion() const;   // "Start", then the window minimised
    DWORD Interpreter() const { return Running("cmd.exe", ProcessId); }   // of a script it started, or 0
    bool HasItsProcesses() const { return Interpreter() != 0; }
    void WaitForItsProcesses() const { gui::Require("the program's processes to end", [&] { return !HasItsProcesses(); }); }
    void RequireEstimate(const char* const (&labels)[2]) const
    { gui::Require(labels[0], [&] { return Text(Dvd43Label) == labels[0] && Text(Dvd85Label) == labels[1]; }); }
    void AddVideoFile(const std::string& path) const;
    void DropFiles(const Texts& paths) const;
    void ClickItem(int index, bool ctrl = false) const;   // in the file list
    void StepComboTo(ControlId combo, int index) const;   // with the arrow keys
    // Checks that the message box has only an OK button, closes it, answers its text.
    std::string AnswerMessageBox() const;
    // The test encoder's log once it has been called count times: per call its
    // command line and "cwd=" with the folder it ran in.
    Texts RequireEncoderCalls(size_t count) const;

    // A file or folder (with the folders above it) below the scratch folder.
    static std::string MakeFile(const std::string& relativePath, const std::string& content = "video");
    static std::string MakeFolder(const std::string& relativePath);
    static void InstallEncoder(const std::string& folder = "C:\\Program Files\\DVD Flick");
    static std::string ReadFile(const std::string& path);
    static Texts Lines(const std::string& crLfText);

    HANDLE Process = nullptr;
    DWORD ProcessId = 0;
    HWND Main = nullptr;
};
