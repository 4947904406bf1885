// The folders and settings that Spindrel.ini keeps between runs.
#include "app/AppTest.h"

#include <fstream>

using StoredSettingsTest = AppTest;

const std::string StoredSettings = AppData + std::string("\\Spindrel\\Spindrel.ini");

// A file that cannot be read or written, or holds values that fail their checks, gives
// its good values and the defaults for the rest and never stops the program; a
// read-only or locked file is left as it was; one beside the program wins over that of
// APPDATA and is the one written. A refused Start stores nothing, a launched one and a
// close everything, which the next start shows with the estimate of its bitrate, the
// focus on "Output Folder" and the open-file dialog in the folder of the last choice.
TEST_F(StoredSettingsTest, AnyFileGivesWhatItCanAndEverySettingComesBack)
{
    const auto shown = [&] {   // "-" after a disabled box, then the check marks
        std::string shown;
        for (ControlId id : {FlickPathEdit, OutputFolderEdit, AspectCombo, FormatCombo, BitrateCombo, CustomBitrateEdit, Dvd43Label})
            shown += Text(id) + (IsWindowEnabled(Ctl(id)) ? "|" : "-|");
        for (ControlId id : {CustomCheck, HalfD1Check, TwoPassCheck})
            shown += SendMessageA(Ctl(id), BM_GETCHECK, 0, 0) ? "x" : "o";
        return shown;
    };
    const std::string decoy = "[Spindrel]\r\nAspectRatio=16:9\r\n", good = "[Spindrel]\r\nFormat=PAL\r\nHalfD1=1\r\n",
                      bad = ReadFile(SPINDREL_EXE_PATH).substr(0, 4096) + "\r\n[Spindrel]\r\nFlickPath=C:\\Vid\xE9os\\\r\n"
                            "OutputFolder=\\\\server\\share\\\r\nAspectRatio=pal\r\nFormat=PAL\r\nFormat=NTSC\r\nBitrate=2500\r\n"
                            "Custom=yes\r\nHalfD1=1\r\nTwoPass=2\r\nCustomBitrate=" + std::string(100000, '1') + "\r\n";
    // Where APPDATA points, where the file lies, what it holds; whether it is read-only,
    // locked, and read: then it gives PAL and Half-D1.
    const struct { const char* AppData; std::string File, Content; bool ReadOnly, Locked, Read; } files[] = {
        {AppData, StoredSettings, bad, false, false, true}, {AppData, StoredSettings, good, true, false, true},
        {AppData, StoredSettings, good, false, true, false}, {nullptr, StoredSettings, good, false, false, false},
        {"C:\\spindrel-e2e\\file", "C:\\spindrel-e2e\\file", good, false, false, false},
        {AppData, PortableSettings, good, false, false, true}};
    MakeFolder("AppData\\Spindrel");
    for (const auto& f : files) {
        SCOPED_TRACE(&f - files);
        std::ofstream(StoredSettings, std::ios::binary) << decoy;
        std::ofstream(f.File, std::ios::binary) << f.Content;
        SetFileAttributesA(f.File.c_str(), f.ReadOnly ? FILE_ATTRIBUTE_READONLY : 0);
        HANDLE held = f.Locked ? CreateFileA(f.File.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        SetEnvironmentVariableA("APPDATA", f.AppData);
        Launch();
        EXPECT_EQ(shown(), std::string("C:\\Program Files\\DVD Flick\\|C:\\|4:3|") + (f.Read ? "PAL" : "NTSC") +
                               "|9000|-|DVD 4,3 GB: 1 Hr 0 min 40 sec|o" + (f.Read ? "xx" : "ox"));
        EXPECT_EQ(Close(), 0u);
        CloseHandle(held);
        EXPECT_EQ(ReadFile(f.File) == f.Content, !f.Read || f.ReadOnly);
        SetFileAttributesA(f.File.c_str(), 0);
        DeleteFileA(f.File.c_str());
    }
    EXPECT_EQ(ReadFile(StoredSettings), decoy) << "the file beside the program is the one written";

    DeleteFileA(StoredSettings.c_str());
    Launch();
    const std::string flick = MakeFolder("Flick"), clip = MakeFile("Clips\\clip.avi");
    InstallEncoder(flick);
    gui::TypeOver(Ctl(FlickPathEdit), flick);
    gui::TypeOver(Ctl(OutputFolderEdit), MakeFolder("Out"));
    gui::TypeOver(Ctl(AspectCombo), "16:9");
    gui::TypeOver(Ctl(FormatCombo), "PAL");
    StepComboTo(BitrateCombo, 5);
    for (ControlId id : {HalfD1Check, TwoPassCheck, CustomCheck})
        gui::Click(Ctl(id));
    gui::TypeOver(Ctl(CustomBitrateEdit), "99");
    AddVideoFile(clip);
    gui::Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), "Check the Custom bitrate - enter value between 100 and 9000 using digits only");
    Sync();
    EXPECT_FALSE(Exists(StoredSettings));
    gui::TypeOver(Ctl(CustomBitrateEdit), "2500");
    StartConversion();
    EXPECT_TRUE(DeleteFileA(StoredSettings.c_str())) << "a launched Start stores the settings";
    const std::string closed = shown();
    EXPECT_EQ(Close(), 0u);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32");   // its own memory
    Launch();
    EXPECT_EQ(shown(), closed);
    gui::Require("the focus on \"Output Folder\"", [&] { return gui::HasFocus(Ctl(OutputFolderButton)); });
    AddVideoFile("clip.avi");
    gui::Require("the file of the folder chosen last", [&] { return gui::Items(Ctl(FileList)) == Texts{clip}; });
}
