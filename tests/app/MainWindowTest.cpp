// The main window as the user finds it after start, its Tab round, its "Help" menu
// and how it ends.
#include "app/AppTest.h"

#include <fstream>

namespace {

using MainWindowTest = AppTest;
using Longs = std::vector<LONG>;

// A kind of control: its class, style (less WS_VISIBLE, WS_DISABLED and the scroll
// bars that lists show only while needed) and extended style.
struct Kind {
    const char* Class;
    LONG Style, ExStyle;
} const Group = {"obj_BUTTON", 0x46000007, 0x10000}, Push = {"obj_BUTTON", 0x46015000, 0x10000},
        Check = {"obj_BUTTON", 0x40014003, 0x10000}, Label = {"obj_STATIC", 0x4600018C, 0x10000},
        Edit = {"obj_EDIT", 0x460100C0, 0x10200}, List = {"obj_LISTBOX", 0x46010941, 0x10200},
        Combo = {"obj_COMBOBOX", 0x46010642, 0x10000};

// Places are in the parent's client area: a group box holds the rows after it.
// Height 0: a drop-down combo box, which Windows sizes to its font. State: "-"
// disabled, "h" hidden, "x" checked, "o" unchecked.
const struct {
    ControlId Id;
    const Kind& Type;
    LONG Left, Top, Width, Height;
    const char *Text, *State;
} Layout[] = {
    {FlickPathGroup, Group, 0, 0, 500, 60, " DVD Flick Path ", ""},
    {ChangeFlickPathButton, Push, 304, 24, 176, 24, "Change DVD Flick Path", ""},
    {FlickPathEdit, Edit, 8, 24, 288, 24, "C:\\Program Files\\DVD Flick\\", ""},
    {OutputGroup, Group, 0, 64, 500, 60, " Output Folder ", ""},
    {OutputFolderEdit, Edit, 8, 24, 288, 24, "C:\\", ""},
    {OutputFolderButton, Push, 304, 24, 176, 24, "Output Folder", ""},
    {VideoFilesGroup, Group, 0, 128, 500, 201, " Video Files ", ""},
    {FileList, List, 8, 24, 480, 128, "", ""},
    {AddFileButton, Push, 8, 160, 105, 24, "Add Video File", ""},
    {RemoveButton, Push, 120, 160, 73, 24, "Remove", ""},
    {SettingsGroup, Group, 0, 332, 497, 128, " Video Conversion Settings ", ""},
    {AspectLabel, Label, 8, 24, 96, 24, "Aspect Ratio:", ""},
    {FormatLabel, Label, 104, 24, 62, 24, "Format:", ""},
    {BitrateLabel, Label, 184, 24, 97, 24, "Bitrate: (kBits)", ""},
    {AspectCombo, Combo, 8, 48, 64, 0, "4:3", ""},
    {FormatCombo, Combo, 104, 48, 64, 0, "NTSC", ""},
    {BitrateCombo, Combo, 184, 48, 64, 0, "9000", ""},
    {CustomCheck, Check, 288, 24, 81, 22, "Custom:", "o"},
    {CustomBitrateEdit, Edit, 288, 48, 64, 22, "", "-"},
    {HalfD1Check, Check, 8, 76, 249, 24, "Half horizontal resolution (Half-D1)", "o"},
    {StartButton, Push, 384, 32, 97, 76, "Start", ""},
    {TwoPassCheck, Check, 8, 98, 161, 22, "2 Pass Conversion", "x"},
    {EstimateGroup, Group, 0, 464, 497, 56, " Estimated Video Length (Maximum) ", ""},
    {Dvd43Label, Label, 8, 24, 224, 24, "DVD 4,3 GB: 1 Hr 0 min 40 sec", ""},
    {Dvd85Label, Label, 248, 24, 217, 24, "DVD 8,5 GB: 1 Hr 59 min 57 sec", ""},
    {EstimateTrigger, Check, 472, 24, 16, 24, "", "hx"},
};

// Wine's own translation of a Windows path into a Unix one; "" outside Wine.
std::string UnixPath(const std::string& path)
{
    auto toUnix = (char*(CDECL*)(const WCHAR*))(void*)GetProcAddress(GetModuleHandleA("kernel32"),
                                                                     "wine_get_unix_file_name");
    char* unixPath = toUnix ? toUnix(std::wstring(path.begin(), path.end()).c_str()) : nullptr;
    const std::string result = unixPath ? unixPath : "";
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

TEST_F(MainWindowTest, StartsLaidOutTabsRoundOpensTheHelpPagesAndEndsWithZero)
{
    // The client area is made 504 x 550 before the menu bar takes its height from it.
    // A sizing frame has the window edge; files may be dropped onto the window.
    const LONG style = GetWindowLongA(Main, GWL_STYLE), exStyle = GetWindowLongA(Main, GWL_EXSTYLE);
    RECT frame = {0, 0, 504, 550}, window, client;
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    GetWindowRect(Main, &window);
    GetClientRect(Main, &client);
    EXPECT_EQ(Longs({style, exStyle, window.left, window.top, window.right - window.left, window.bottom - window.top,
                     client.right, client.bottom}),
              Longs({0x16CF0000, WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES | WS_EX_WINDOWEDGE, 202, 110,
                     frame.right - frame.left, frame.bottom - frame.top, 504, 550 - GetSystemMetrics(SM_CYMENU)}));
    HWND group = Main;
    for (const auto& row : Layout) {
        SCOPED_TRACE(row.Text);
        HWND control = Ctl(row.Id);
        group = &row.Type == &Group ? control : group;
        EXPECT_EQ(GetParent(control), &row.Type == &Group ? Main : group);
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, GetParent(control), (POINT*)&place, 2);
        const LONG shown = GetWindowLongA(control, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED | WS_VSCROLL | WS_HSCROLL);
        EXPECT_EQ(Longs({place.left, place.top, place.right - place.left, row.Height ? place.bottom - place.top : 0,
                         shown, GetWindowLongA(control, GWL_EXSTYLE)}),
                  Longs({row.Left, row.Top, row.Width, row.Height, row.Type.Style, row.Type.ExStyle}));
        const bool box = &row.Type == &Check, checked = SendMessageA(control, BM_GETCHECK, 0, 0);
        EXPECT_EQ(gui::Class(control) + gui::Text(control) + (IsWindowEnabled(control) ? "" : "-") +
                      (IsWindowVisible(control) ? "" : "h") + (box ? (checked ? "x" : "o") : ""),
                  row.Type.Class + (row.Text + std::string(row.State)));
    }
    EXPECT_EQ(gui::Items(Ctl(AspectCombo)), Texts({"4:3", "16:9"}));
    EXPECT_EQ(gui::Items(Ctl(FormatCombo)), Texts({"NTSC", "PAL"}));
    EXPECT_EQ(gui::Items(Ctl(BitrateCombo)), Texts({"1000", "2000", "3000", "4000", "5000", "6000", "7000", "8000", "9000"}));
    EXPECT_EQ(SendMessageA(Ctl(BitrateCombo), CB_GETCURSEL, 0, 0), 8);
    EXPECT_TRUE(gui::Items(Ctl(FileList)).empty());

    // The start-up refresh of the estimate leaves the focus where construction put it.
    // Tab and Shift+Tab walk the visible, enabled controls in window order and wrap;
    // an edit box reached with Tab has its text selected.
    gui::Require("the focus on \"Output Folder\"", [&] { return gui::HasFocus(Ctl(OutputFolderButton)); });
    const std::vector<ControlId> round = {FileList, AddFileButton, RemoveButton, AspectCombo, FormatCombo,
                                          BitrateCombo, CustomCheck, HalfD1Check, StartButton, TwoPassCheck,
                                          ChangeFlickPathButton, FlickPathEdit, OutputFolderEdit, OutputFolderButton};
    for (WORD shift : {0, VK_SHIFT}) {
        for (size_t i = 0; i < round.size(); ++i) {
            HWND next = Ctl(round[shift ? (26 - i) % 14 : i]);
            gui::Key(VK_TAB, shift);
            gui::Require("the focus on " + gui::Text(next), [&] { return gui::HasFocus(next); });
        }
        EXPECT_EQ(SendMessageA(Ctl(FlickPathEdit), EM_GETSEL, 0, 0), MAKELONG(0, 27));
    }

    // The shell hands a web address to the browser named in Wine's settings: here a
    // script that records it.
    const std::string log = "C:\\spindrel-e2e\\browser.log", browser = "C:\\spindrel-e2e\\browser.sh";
    std::ofstream(browser, std::ios::binary) << "printf '%s\\r\\n' \"$1\" >> '" << UnixPath(log) << "'\n";
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    const std::string command = "/bin/sh " + UnixPath(browser);
    RegSetValueExA(key, "Browsers", 0, REG_SZ, (const BYTE*)command.c_str(), (DWORD)command.size() + 1);
    for (size_t item = 0; item < 2 && !UnixPath(log).empty(); ++item) {
        // F10 takes the menu bar, Down opens "Help" on its first item.
        gui::Key(VK_F10);
        gui::Key(VK_DOWN);
        gui::Require("the \"Help\" menu", [&] { return gui::TopLevel(ProcessId, "#32768"); });
        if (item)
            gui::Key(VK_DOWN);
        gui::Key(VK_RETURN);
        gui::Require("the address in the browser", [&] { return Lines(ReadFile(log)).size() == item + 1; });
    }
    RegDeleteValueA(key, "Browsers");
    RegCloseKey(key);
    EXPECT_EQ(Lines(ReadFile(log)), UnixPath(log).empty() ? Texts{}
                                                          : Texts({"https://www.spindrel.example/videoguides/spindrel.html",
                                                                   "http://www.dvdflick.net/download.php"}));

    PostMessageA(Main, WM_SYSCOMMAND, SC_CLOSE, 0);   // what the close box sends
    DWORD code = 255;
    gui::Require("the program to end", [&] { return GetExitCodeProcess(Process, &code) && code != STILL_ACTIVE; });
    EXPECT_EQ(code, 0u);
}

}
