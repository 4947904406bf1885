// The start-up floor of the program benchmarks: Spindrel's main window made with
// direct Win32 calls, no layer: the same class style, icon, menu and controls (the system's
// control classes, with the styles, places, sizes, font, items and texts that
// spindrel.exe gives them, the estimate labels filled as at its start), shown and
// run until it is closed. Its window handles nothing but closing, and the colours
// are the system's defaults, which are the program's; only the group boxes fill
// their inside, as the program's do. What spindrel.exe takes beyond this program to
// show its window is what its own code adds.
#include <windows.h>

namespace {

const DWORD Visible = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const DWORD Group = Visible | BS_GROUPBOX;
const DWORD Button = Visible | WS_TABSTOP | BS_NOTIFY | BS_PUSHLIKE | BS_PUSHBUTTON;
const DWORD Check = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_AUTOCHECKBOX;
const DWORD Label = Visible | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP;
const DWORD Edit = Visible | WS_TABSTOP | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
const DWORD List = Visible | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT |
                   LBS_HASSTRINGS;
const DWORD Combo = Visible | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT |
                    CBS_HASSTRINGS;
// Every control is a control parent; the boxes that take text have a sunken edge.
const DWORD Parent = WS_EX_CONTROLPARENT, Sunken = WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE;

// One control, numbered from 0x8000 in the program's order of creation.
struct TControl {
    int Parent;   // index of the group box it sits in, or -1 for the main window
    const char* Class;
    DWORD Style, ExStyle;
    const char* Text;
    int Left, Top, Width, Height;
};

const TControl Controls[] = {
    {-1, "FloorGroup", Group, Parent, " DVD Flick Path ", 0, 0, 500, 60},
    {0, "BUTTON", Button, Parent, "Change DVD Flick Path", 304, 24, 176, 24},
    {0, "EDIT", Edit, Sunken, "C:\\Program Files\\DVD Flick\\", 8, 24, 288, 24},
    {-1, "FloorGroup", Group, Parent, " Output Folder ", 0, 64, 500, 60},
    {3, "EDIT", Edit, Sunken, "C:\\", 8, 24, 288, 24},
    {3, "BUTTON", Button, Parent, "Output Folder", 304, 24, 176, 24},
    {-1, "FloorGroup", Group, Parent, " Video Files ", 0, 128, 500, 201},
    {6, "LISTBOX", List, Sunken, nullptr, 8, 24, 480, 128},
    {6, "BUTTON", Button, Parent, "Add Video File", 8, 160, 105, 24},
    {6, "BUTTON", Button, Parent, "Remove", 120, 160, 73, 24},
    {-1, "FloorGroup", Group, Parent, " Video Conversion Settings ", 0, 332, 497, 128},
    {10, "STATIC", Label, Parent, "Aspect Ratio:", 8, 24, 96, 24},
    {10, "STATIC", Label, Parent, "Format:", 104, 24, 62, 24},
    {10, "STATIC", Label, Parent, "Bitrate: (kBits)", 184, 24, 97, 24},
    {10, "COMBOBOX", Combo, Sunken, nullptr, 8, 48, 64, 22},
    {10, "COMBOBOX", Combo, Sunken, nullptr, 104, 48, 64, 22},
    {10, "COMBOBOX", Combo, Sunken, nullptr, 184, 48, 64, 24},
    {10, "BUTTON", Check, Parent, "Custom:", 288, 24, 81, 22},
    {10, "EDIT", Edit | WS_DISABLED, Sunken, nullptr, 288, 48, 64, 22},
    {10, "BUTTON", Check, Parent, "Half horizontal resolution (Half-D1)", 8, 76, 249, 24},
    {10, "BUTTON", Button, Parent, "Start", 384, 32, 97, 76},
    {10, "BUTTON", Check, Parent, "2 Pass Conversion", 8, 98, 161, 22},
    {-1, "FloorGroup", Group, Parent, " Estimated Video Length (Maximum) ", 0, 464, 497, 86},
    {22, "STATIC", Label, Parent, "DVD 4,3 GB: 1 Hr 0 min 40 sec", 8, 24, 224, 24},
    {22, "STATIC", Label, Parent, "DVD 8,5 GB: 1 Hr 59 min 57 sec", 248, 24, 217, 24},
    {22, "BUTTON", Check & ~WS_VISIBLE, Parent, nullptr, 472, 24, 16, 24},
    {22, "STATIC", Visible | SS_NOTIFY | SS_NOPREFIX, Parent, nullptr, 8, 48, 480, 32},
};

// The combo boxes' items, in the order of the controls, each list ended by a null,
// and the item each shows.
const char* const Items[] = {"4:3", "16:9", nullptr, "NTSC", "PAL", nullptr, "1000", "2000", "3000", "4000",
                             "5000", "6000", "7000", "8000", "9000", nullptr};
const int Shown[] = {0, 0, 8};

WNDPROC ButtonProc;

// A group box leaves its inside unpainted, and the main window does not paint
// beneath its children: a group box that is their parent fills it first.
LRESULT CALLBACK GroupWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        RECT inside;
        GetClientRect(window, &inside);
        FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
    }
    return CallWindowProcA(ButtonProc, window, message, wParam, lParam);
}

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HMENU MakeMenu()
{
    HMENU bar = CreateMenu(), help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, 4097, "Online Help");
    AppendMenuA(help, MF_STRING, 4098, "Download DVD Flick");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "Help");
    return bar;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The program's class style and icon, its own device context included.
    const WNDCLASSA windowClass = {CS_OWNDC | CS_DBLCLKS, FloorWndProc, 0, 0, instance, LoadIconA(instance, "MAINICON"),
                                   LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                   nullptr, "FloorForm"};
    RegisterClassA(&windowClass);
    WNDCLASSA groupClass;
    GetClassInfoA(nullptr, "BUTTON", &groupClass);
    ButtonProc = groupClass.lpfnWndProc;
    groupClass.lpfnWndProc = GroupWndProc;
    groupClass.hInstance = instance;
    groupClass.lpszClassName = "FloorGroup";
    RegisterClassA(&groupClass);

    // 504 x 580 without the menu bar, which then takes its line of the client area.
    const DWORD style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
    const DWORD exStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
    RECT outer = {0, 0, 504, 580};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    HWND main = CreateWindowExA(exStyle, "FloorForm", "Spindrel", style, 202, 110, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, MakeMenu(), instance, nullptr);

    HWND windows[sizeof Controls / sizeof *Controls];
    const char* const* items = Items;
    int combo = 0;
    for (int i = 0; i < static_cast<int>(sizeof Controls / sizeof *Controls); ++i) {
        const TControl& c = Controls[i];
        windows[i] = CreateWindowExA(c.ExStyle, c.Class, c.Text, c.Style, c.Left, c.Top, c.Width, c.Height,
                                     c.Parent < 0 ? main : windows[c.Parent], reinterpret_cast<HMENU>(0x8000 + i),
                                     instance, nullptr);
        if (!lstrcmpA(c.Class, "COMBOBOX")) {
            for (; *items; ++items)
                SendMessageA(windows[i], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(*items));
            ++items;
            SendMessageA(windows[i], CB_SETCURSEL, Shown[combo++], 0);
        }
    }
    // "Start" in bold at a fixed pitch; "2 Pass Conversion" and the hidden check box checked.
    HFONT bold = CreateFontA(0, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FIXED_PITCH, "MS Sans Serif");
    SendMessageA(windows[20], WM_SETFONT, reinterpret_cast<WPARAM>(bold), TRUE);
    SendMessageA(windows[21], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(windows[25], BM_SETCHECK, BST_CHECKED, 0);

    ShowWindow(main, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DeleteObject(bold);
    return 0;
}
