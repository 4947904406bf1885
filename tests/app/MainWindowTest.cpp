// The main window as the user finds it right after start, and how it ends.
#include "app/AppTest.h"

#include <cstdio>

namespace {

using MainWindowTest = AppTest;

// A control right after start. Places are in the parent's client area: each group
// box holds the controls listed after it.
struct ControlRow {
    ControlId Id;
    int Parent; // 0: the main window
    const char* Class;
    int Left, Top, Width, Height; // Height 0: a drop-down combo box, which Windows sizes to its font
    const char* Text;
    LONG Style;   // less WS_VISIBLE and WS_DISABLED, which the next columns show
    LONG ExStyle;
    bool Enabled, Visible;
    int Checked; // -1: not a check box
};

const LONG Group = 0x46000007, Push = 0x46015000, Check = 0x40014003, Label = 0x4600018C, Edit = 0x460100C0,
           List = 0x46210941, Combo = 0x46210642;
const LONG Plain = WS_EX_CONTROLPARENT, Sunken = WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE;

const ControlRow StartLayout[] = {
    {FlickPathGroup, 0, "obj_BUTTON", 0, 0, 500, 60, " DVD Flick Path ", Group, Plain, true, true, -1},
    {ChangeFlickPathButton, FlickPathGroup, "obj_BUTTON", 304, 24, 176, 24, "Change DVD Flick Path", Push, Plain,
     true, true, -1},
    {FlickPathEdit, FlickPathGroup, "obj_EDIT", 8, 24, 288, 24, "C:\\Program Files\\DVD Flick\\", Edit, Sunken,
     true, true, -1},
    {OutputGroup, 0, "obj_BUTTON", 0, 64, 500, 60, " Output Folder ", Group, Plain, true, true, -1},
    {OutputFolderEdit, OutputGroup, "obj_EDIT", 8, 24, 288, 24, "C:\\", Edit, Sunken, true, true, -1},
    {OutputFolderButton, OutputGroup, "obj_BUTTON", 304, 24, 176, 24, "Output Folder", Push, Plain, true, true, -1},
    {VideoFilesGroup, 0, "obj_BUTTON", 0, 128, 500, 201, " Video Files ", Group, Plain, true, true, -1},
    {FileList, VideoFilesGroup, "obj_LISTBOX", 8, 24, 480, 128, "", List, Sunken, true, true, -1},
    {AddFileButton, VideoFilesGroup, "obj_BUTTON", 8, 160, 105, 24, "Add Video File", Push, Plain, true, true, -1},
    {RemoveButton, VideoFilesGroup, "obj_BUTTON", 120, 160, 73, 24, "Remove", Push, Plain, true, true, -1},
    {SettingsGroup, 0, "obj_BUTTON", 0, 332, 497, 128, " Video Conversion Settings ", Group, Plain, true, true, -1},
    {AspectLabel, SettingsGroup, "obj_STATIC", 8, 24, 96, 24, "Aspect Ratio:", Label, Plain, true, true, -1},
    {FormatLabel, SettingsGroup, "obj_STATIC", 104, 24, 62, 24, "Format:", Label, Plain, true, true, -1},
    {BitrateLabel, SettingsGroup, "obj_STATIC", 184, 24, 97, 24, "Bitrate: (kBits)", Label, Plain, true, true, -1},
    {AspectCombo, SettingsGroup, "obj_COMBOBOX", 8, 48, 64, 0, "4:3", Combo, Sunken, true, true, -1},
    {FormatCombo, SettingsGroup, "obj_COMBOBOX", 104, 48, 64, 0, "NTSC", Combo, Sunken, true, true, -1},
    {BitrateCombo, SettingsGroup, "obj_COMBOBOX", 184, 48, 64, 0, "9000", Combo, Sunken, true, true, -1},
    {CustomCheck, SettingsGroup, "obj_BUTTON", 288, 24, 81, 22, "Custom:", Check, Plain, true, true, 0},
    {CustomBitrateEdit, SettingsGroup, "obj_EDIT", 288, 48, 64, 22, "", Edit, Sunken, false, true, -1},
    {HalfD1Check, SettingsGroup, "obj_BUTTON", 8, 76, 249, 24, "Half horizontal resolution (Half-D1)", Check, Plain,
     true, true, 0},
    {StartButton, SettingsGroup, "obj_BUTTON", 384, 32, 97, 76, "Start", Push, Plain, true, true, -1},
    {TwoPassCheck, SettingsGroup, "obj_BUTTON", 8, 98, 161, 22, "2 Pass Conversion", Check, Plain, true, true, 1},
    {EstimateGroup, 0, "obj_BUTTON", 0, 464, 497, 56, " Estimated Video Length (Maximum) ", Group, Plain, true, true,
     -1},
    {Dvd43Label, EstimateGroup, "obj_STATIC", 8, 24, 224, 24, "DVD 4,3 GB: 1 Hr 0 min 40 sec", Label, Plain, true,
     true, -1},
    {Dvd85Label, EstimateGroup, "obj_STATIC", 248, 24, 217, 24, "DVD 8,5 GB: 1 Hr 59 min 57 sec", Label, Plain, true,
     true, -1},
    {EstimateTrigger, EstimateGroup, "obj_BUTTON", 472, 24, 16, 24, "", Check, Plain, true, false, 1},
};

std::string Hex(LONG value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

TEST_F(MainWindowTest, ShowsItsWindowAndControlsAsLaidOut)
{
    HWND main = App.MainWindow();
    EXPECT_EQ(gui::WindowClass(main), "obj_Form");
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(main, GWL_EXSTYLE);
    EXPECT_EQ(Hex(style), Hex(0x16CF0000));
    // Windows gives every window with a sizing frame the window edge. Files may be
    // dropped onto the window.
    EXPECT_EQ(Hex(exStyle & ~WS_EX_WINDOWEDGE), Hex(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES));

    // The client area is made 504 x 550 before the menu bar is added, which then
    // takes its height from the client area.
    RECT frame = {0, 0, 504, 550};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    RECT window, client;
    GetWindowRect(main, &window);
    GetClientRect(main, &client);
    EXPECT_EQ(window.left, 202);
    EXPECT_EQ(window.top, 110);
    EXPECT_EQ(window.right - window.left, frame.right - frame.left);
    EXPECT_EQ(window.bottom - window.top, frame.bottom - frame.top);
    EXPECT_EQ(client.right, 504);
    EXPECT_EQ(client.bottom, 550 - GetSystemMetrics(SM_CYMENU));

    for (const ControlRow& row : StartLayout) {
        SCOPED_TRACE("control " + Hex(row.Id) + " \"" + row.Text + "\"");
        HWND control = Ctl(row.Id);
        EXPECT_EQ(GetParent(control), row.Parent ? Ctl(static_cast<ControlId>(row.Parent)) : main);
        EXPECT_EQ(gui::WindowClass(control), row.Class);
        const RECT place = AppDriver::PlaceInParent(control);
        EXPECT_EQ(place.left, row.Left);
        EXPECT_EQ(place.top, row.Top);
        EXPECT_EQ(place.right - place.left, row.Width);
        if (row.Height) {
            EXPECT_EQ(place.bottom - place.top, row.Height);
        }
        EXPECT_EQ(App.Text(control), row.Text);
        // List and combo boxes show their scroll bar only while their items need
        // one, and a combo box draws its own sunken edge in place of the client edge.
        const LONG scrollBars = WS_VSCROLL | WS_HSCROLL;
        const LONG edge = row.Style == Combo ? WS_EX_CLIENTEDGE : 0;
        EXPECT_EQ(Hex(GetWindowLongA(control, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED | scrollBars)),
                  Hex(row.Style & ~scrollBars));
        EXPECT_EQ(Hex(GetWindowLongA(control, GWL_EXSTYLE) & ~edge), Hex(row.ExStyle & ~edge));
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, row.Enabled);
        EXPECT_EQ((GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0, row.Visible);
        if (row.Checked >= 0) {
            EXPECT_EQ(App.CheckState(control), row.Checked);
        }
    }

    EXPECT_EQ(App.ComboItems(Ctl(AspectCombo)), (std::vector<std::string>{"4:3", "16:9"}));
    EXPECT_EQ(App.ComboSelection(Ctl(AspectCombo)), 0);
    EXPECT_EQ(App.ComboItems(Ctl(FormatCombo)), (std::vector<std::string>{"NTSC", "PAL"}));
    EXPECT_EQ(App.ComboSelection(Ctl(FormatCombo)), 0);
    EXPECT_EQ(App.ComboItems(Ctl(BitrateCombo)), (std::vector<std::string>{"1000", "2000", "3000", "4000", "5000",
                                                                           "6000", "7000", "8000", "9000"}));
    EXPECT_EQ(App.ComboSelection(Ctl(BitrateCombo)), 8);
    EXPECT_TRUE(App.ListItems(Ctl(FileList)).empty());
}

// The start-up refresh of the estimate leaves the focus where construction put it.
// Tab and Shift+Tab then walk the visible, enabled controls in window order and
// wrap.
TEST_F(MainWindowTest, StartsWithTheFocusOnTheOutputFolderButtonAndTabWalksTheControls)
{
    gui::WaitUntil([&] { return App.FocusedWindow() == Ctl(OutputFolderButton); }, AppTimeoutMs);
    EXPECT_EQ(Hex(GetDlgCtrlID(App.FocusedWindow())), Hex(OutputFolderButton));

    // A combo box's focus is in its edit field.
    auto focused = [&] {
        HWND focus = App.FocusedWindow();
        return Hex(GetDlgCtrlID(gui::WindowClass(GetParent(focus)) == "obj_COMBOBOX" ? GetParent(focus) : focus));
    };
    auto walk = [&](WORD modifier, int presses) {
        std::vector<std::string> seen;
        for (int i = 0; i < presses; ++i) {
            const std::string before = focused();
            gui::PressKey(VK_TAB, modifier);
            gui::WaitUntil([&] { return focused() != before && focused() != Hex(0); }, 5000);
            seen.push_back(focused());
            if (seen.back() == Hex(FlickPathEdit)) {
                EXPECT_EQ(SendMessageA(Ctl(FlickPathEdit), EM_GETSEL, 0, 0), MAKELONG(0, 27)) << "all selected";
            }
        }
        return seen;
    };
    std::vector<std::string> round;
    for (ControlId id : {FileList, AddFileButton, RemoveButton, AspectCombo, FormatCombo, BitrateCombo, CustomCheck,
                         HalfD1Check, StartButton, TwoPassCheck, ChangeFlickPathButton, FlickPathEdit,
                         OutputFolderEdit, OutputFolderButton})
        round.push_back(Hex(id));
    std::vector<std::string> back(round.rbegin() + 1, round.rend());
    back.push_back(Hex(OutputFolderButton));
    ASSERT_TRUE(gui::BringToFront(App.MainWindow()));
    EXPECT_EQ(walk(0, 14), round);
    EXPECT_EQ(walk(VK_SHIFT, 14), back);
}

TEST_F(MainWindowTest, TheSettingsComboBoxesOfferTheirItemsInTheirOpenLists)
{
    App.PickComboItem(Ctl(AspectCombo), 1);
    gui::WaitUntil([&] { return App.Text(Ctl(AspectCombo)) == "16:9"; }, AppTimeoutMs);
    EXPECT_EQ(App.Text(Ctl(AspectCombo)), "16:9");
    App.PickComboItem(Ctl(FormatCombo), 1);
    gui::WaitUntil([&] { return App.Text(Ctl(FormatCombo)) == "PAL"; }, AppTimeoutMs);
    EXPECT_EQ(App.Text(Ctl(FormatCombo)), "PAL");
}

TEST_F(MainWindowTest, ClosingItEndsTheProgramWithExitCodeZero)
{
    // What the close box sends.
    PostMessageA(App.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(App.WaitForExit(), 0u);
}

} // namespace
