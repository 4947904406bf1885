// The fixture of the end-to-end tests: every test starts its own spindrel.exe
// (fresh state) and works in the scratch folder C:\spindrel-e2e. Everything a test
// may leave in the shared Wine prefix (the scratch folder, C:\convert.bat, the
// test encoder in the default DVD Flick folder) is removed before and after it.
#pragma once

#include "support/AppDriverWin32.h"
#include "support/GuiTestWin32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The main window's controls; the program numbers them from 0x8000 in the order
// it creates them.
enum ControlId {
    FlickPathGroup = 0x8000,
    ChangeFlickPathButton,
    FlickPathEdit,
    OutputGroup,
    OutputFolderEdit,
    OutputFolderButton,
    VideoFilesGroup,
    FileList,
    AddFileButton,
    RemoveButton,
    SettingsGroup,
    AspectLabel,
    FormatLabel,
    BitrateLabel,
    AspectCombo,
    FormatCombo,
    BitrateCombo,
    CustomCheck,
    CustomBitrateEdit,
    HalfD1Check,
    StartButton,
    TwoPassCheck,
    EstimateGroup,
    Dvd43Label,
    Dvd85Label,
    EstimateTrigger,
};

extern const char* const ScratchFolder;      // C:\spindrel-e2e
extern const char* const DefaultFlickFolder; // C:\Program Files\DVD Flick
extern const char* const EncoderLog;         // where the test encoder records its calls

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Ctl(ControlId id) const { return App.Control(id); }
    // The two estimate labels, 4.3 GB first.
    std::vector<std::string> Estimate() const;
    // Waits until the estimate labels show these two texts.
    void RequireEstimate(const std::string& dvd43, const std::string& dvd85) const;

    // Creates a file (and its folders) below the scratch folder; answers its path.
    static std::string MakeFile(const std::string& relativePath, const std::string& content = "video");
    static std::string MakeFolder(const std::string& relativePath);
    // Puts the test encoder into folder as ffmpeg.exe.
    static void InstallEncoder(const std::string& folder = DefaultFlickFolder);
    static bool FileExists(const std::string& path);
    static std::string ReadFile(const std::string& path);
    // The lines of a CR LF text.
    static std::vector<std::string> Lines(const std::string& text);

    // "Add Video File", then the file chosen in the open-file dialog.
    void AddVideoFile(const std::string& path) const;
    // Waits for a message box of the program, checks that it has only an OK button,
    // closes it with OK and answers its text.
    std::string AnswerMessageBox(const std::string& caption = "Spindrel") const;
    // Waits until the test encoder has been called count times (each call records
    // its command line and its working folder).
    std::vector<std::string> RequireEncoderCalls(size_t count) const;

    AppDriver App;
};
