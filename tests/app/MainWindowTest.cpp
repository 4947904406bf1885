// The main window as the user finds it after start, its Tab round, its "Help" menu
// and how it ends.
#include "app/AppTest.h"

#include <fstream>

using MainWindowTest = AppTest;
using Longs = std::vector<LONG>;

// Places are in the parent's client area: a group box holds the rows after it.
// Height 0: a drop-down combo box, which Windows sizes to its font. Styles less
// WS_VISIBLE, WS_DISABLED and the scroll bars that lists show only while needed.
// State: "-" disabled, "h" hidden, "x" checked, "o" unchecked.
const LONG GroupBox = 0x46000007, CheckBox = 0x40014003;
static const struct {
    ControlId Id;
    const char* Class;
    LONG Style, Left, Top, Width, Height;
    const char *Text, *State;
} Layout[] = {
    {FlickPathGroup, "BUTTON", GroupBox, 0, 0, 500, 60, " DVD Flick Path ", ""},
    {ChangeFlickPathButton, "BUTTON", 0x46015000, 304, 24, 176, 24, "Change DVD Flick Path", ""},
    {FlickPathEdit, "EDIT", 0x460100C0, 8, 24, 288, 24, "C:\\Program Files\\DVD Flick\\", ""},
    {OutputGroup, "BUTTON", GroupBox, 0, 64, 500, 60, " Output Folder ", ""},
    {OutputFolderEdit, "EDIT", 0x460100C0, 8, 24, 288, 24, "C:\\", ""},
    {OutputFolderButton, "BUTTON", 0x46015000, 304, 24, 176, 24, "Output Folder", ""},
    {VideoFilesGroup, "BUTTON", GroupBox, 0, 128, 500, 201, " Video Files ", ""},
    {FileList, "LISTBOX", 0x46010941, 8, 24, 480, 128, "", ""},
    {AddFileButton, "BUTTON", 0x46015000, 8, 160, 105, 24, "Add Video File", ""},
    {RemoveButton, "BUTTON", 0x46015000, 120, 160, 73, 24, "Remove", ""},
    {SettingsGroup, "BUTTON", GroupBox, 0, 332, 497, 128, " Video Conversion Settings ", ""},
    {AspectLabel, "STATIC", 0x4600018C, 8, 24, 96, 24, "Aspect Ratio:", ""},
    {FormatLabel, "STATIC", 0x4600018C, 104, 24, 62, 24, "Format:", ""},
    {BitrateLabel, "STATIC", 0x4600018C, 184, 24, 97, 24, "Bitrate: (kBits)", ""},
    {AspectCombo, "COMBOBOX", 0x46010642, 8, 48, 64, 0, "4:3", ""},
    {FormatCombo, "COMBOBOX", 0x46010642, 104, 48, 64, 0, "NTSC", ""},
    {BitrateCombo, "COMBOBOX", 0x46010642, 184, 48, 64, 0, "9000", ""},
    {CustomCheck, "BUTTON", CheckBox, 288, 24, 81, 22, "Custom:", "o"},
    {CustomBitrateEdit, "EDIT", 0x460100C0, 288, 48, 64, 22, "", "-"},
    {HalfD1Check, "BUTTON", CheckBox, 8, 76, 249, 24, "Half horizontal resolution (Half-D1)", "o"},
    {StartButton, "BUTTON", 0x46015000, 384, 32, 97, 76, "Start", ""},
    {TwoPassCheck, "BUTTON", CheckBox, 8, 98, 161, 22, "2 Pass Conversion", "x"},
    {EstimateGroup, "BUTTON", GroupBox, 0, 464, 497, 86, " Estimated Video Length (Maximum) ", ""},
    {Dvd43Label, "STATIC", 0x4600018C, 8, 24, 224, 24, "DVD 4,3 GB: 1 Hr 0 min 40 sec", ""},
    {Dvd85Label, "STATIC", 0x4600018C, 248, 24, 217, 24, "DVD 8,5 GB: 1 Hr 59 min 57 sec", ""},
    {EstimateTrigger, "BUTTON", CheckBox, 472, 24, 16, 24, "", "hx"},
    {LengthsLabel, "STATIC", 0x46000180, 8, 48, 480, 32, "", ""},
};

// The client area is made 504 x 580 before the menu bar takes its height from it;
// files may be dropped onto the window. The start-up refresh of the estimate leaves
// the focus where construction put it; Tab and Shift+Tab walk the visible, enabled
// controls in window order and wrap, selecting the text of an edit box. The shell
// hands a web page to the browser named in Wine's settings: a script that records it.
// Closing while a length is being read ends its encoder at once.
TEST_F(MainWindowTest, StartsLaidOutTabsRoundOpensTheHelpPagesAndEndsWithZero)
{
    RECT window, client;
    GetWindowRect(Main, &window);
    GetClientRect(Main, &client);
    EXPECT_EQ(Longs({GetWindowLongA(Main, GWL_STYLE), GetWindowLongA(Main, GWL_EXSTYLE), window.left, window.top,
                     client.right, client.bottom}),
              Longs({0x16CF0000, WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES | WS_EX_WINDOWEDGE, 202, 110, 504,
                     580 - GetSystemMetrics(SM_CYMENU)}));
    HWND group = Main;
    for (const auto& row : Layout) {
        HWND control = Ctl(row.Id);
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, GetParent(control), (POINT*)&place, 2);
        const bool edged = row.Class[0] == 'E' || row.Class[0] == 'L';   // edit and list boxes
        EXPECT_EQ(Longs({place.left, place.top, place.right - place.left, row.Height ? place.bottom - place.top : 0,
                         GetWindowLongA(control, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED | WS_VSCROLL | WS_HSCROLL),
                         GetWindowLongA(control, GWL_EXSTYLE), GetParent(control) == (row.Style == GroupBox ? Main : group)}),
                  Longs({row.Left, row.Top, row.Width, row.Height, row.Style, edged ? 0x10200 : 0x10000, true})) << row.Text;
        group = row.Style == GroupBox ? control : group;
        const std::string checked = row.Style != CheckBox ? "" : SendMessageA(control, BM_GETCHECK, 0, 0) ? "x" : "o";
        EXPECT_EQ(gui::Class(control) + gui::Text(control) + (IsWindowEnabled(control) ? "" : "-") +
                      (IsWindowVisible(control) ? "" : "h") + checked,
                  "obj_" + (row.Class + (row.Text + std::string(row.State))));
    }
    EXPECT_EQ(gui::Items(Ctl(AspectCombo)), Texts({"4:3", "16:9"}));
    EXPECT_EQ(gui::Items(Ctl(FormatCombo)), Texts({"NTSC", "PAL"}));
    EXPECT_EQ(gui::Items(Ctl(BitrateCombo)), Texts({"1000", "2000", "3000", "4000", "5000", "6000", "7000", "8000", "9000"}));
    EXPECT_EQ(SendMessageA(Ctl(BitrateCombo), CB_GETCURSEL, 0, 0), 8);

    gui::Require("the focus on \"Output Folder\"", [&] { return gui::HasFocus(Ctl(OutputFolderButton)); });
    const ControlId round[] = {FileList, AddFileButton, RemoveButton, AspectCombo, FormatCombo, BitrateCombo,
                               CustomCheck, HalfD1Check, StartButton, TwoPassCheck, ChangeFlickPathButton,
                               FlickPathEdit, OutputFolderEdit, OutputFolderButton};
    for (WORD shift : {0, VK_SHIFT}) {
        for (size_t i = 0; i < 14; ++i) {
            HWND next = Ctl(round[shift ? (26 - i) % 14 : i]);
            gui::Key(VK_TAB, shift);
            gui::Require("the focus on " + gui::Text(next), [&] { return gui::HasFocus(next); });
        }
        EXPECT_EQ(SendMessageA(Ctl(FlickPathEdit), EM_GETSEL, 0, 0), MAKELONG(0, 27));
    }

    const auto unixPath = (char*(CDECL*)(const WCHAR*))(void*)GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name");
    const std::string log = unixPath(L"C:\\spindrel-e2e\\browser.log"), command = "/bin/sh " + log + ".sh";
    std::ofstream("C:\\spindrel-e2e\\browser.log.sh", std::ios::binary) << "printf '%s\\r\\n' \"$1\" >> '" << log << "'\n";
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers", REG_SZ, command.c_str(), command.size() + 1);
    for (size_t item = 0; item < 2; ++item) {
        gui::Key(VK_F10);   // the menu bar; Down opens "Help" on its first item
        gui::Key(VK_DOWN);
        gui::Require("the \"Help\" menu", [&] { return gui::TopLevel(ProcessId, "#32768"); });
        if (item)
            gui::Key(VK_DOWN);
        gui::Key(VK_RETURN);
        gui::Require("the address in the browser", [&] { return Lines(ReadFile("C:\\spindrel-e2e\\browser.log")).size() == item + 1; });
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers");
    EXPECT_EQ(Lines(ReadFile("C:\\spindrel-e2e\\browser.log")),
              Texts({"https://www.spindrel.example/videoguides/spindrel.html", "http://www.dvdflick.net/download.php"}));

    InstallEncoder();
    MakeFile("ffmpeg.log.hold");
    DropFiles({MakeFile("held.avi")});
    gui::Require("the length being read", [&] { return Text(LengthsLabel) == "Reading lengths: 0 of 1 file..."; });
    EXPECT_EQ(Close(), 0u);
    EXPECT_FALSE(Running("ffmpeg.exe")) << "closing during a reading leaves its encoder running";
    EXPECT_FALSE(Exists(PortableSettings)) << "nothing is written beside the program";
}
