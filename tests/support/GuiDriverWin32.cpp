#include "support/GuiDriverWin32.h"

#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <stdexcept>

namespace gui {

static bool IsClass(HWND window, const char* name) { return !name || lstrcmpiA(Class(window).c_str(), name) == 0; }

static BOOL CALLBACK Collect(HWND window, LPARAM found) { return ((std::vector<HWND>*)found)->push_back(window), TRUE; }

static INPUT KeyInput(WORD vk, WORD scan, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan ? scan : (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = flags | ((vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_DELETE ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

// A mouse event carries its own screen position: under Wine a pointer event of the
// display that arrives late can move the cursor back, and an event without a
// position would then land where the cursor was before. Absolute positions run from
// 0 to 65535 over the screen; rounding up lands on the pixel.
static INPUT MouseInput(POINT at, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (at.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

static void Send(std::vector<INPUT> inputs)
{
    if (SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw std::runtime_error("the input could not be sent");
}

void Require(const std::string& what, const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs)
{
    for (const DWORD start = GetTickCount(); !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT)) {
        if (GetTickCount() - start > timeoutMs)
            throw std::runtime_error("timed out waiting for " + what);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

std::string Text(HWND window)
{
    std::string text((size_t)SendMessageA(window, WM_GETTEXTLENGTH, 0, 0) + 1, '\0');
    text.resize((size_t)SendMessageA(window, WM_GETTEXT, text.size(), (LPARAM)&text[0]));
    return text;
}

std::string Class(HWND window)
{
    char name[256] = "";
    return std::string(name, GetClassNameA(window, name, sizeof name));
}

// Wine hands the item text of another process's box back in UTF-16 whatever the
// caller's character set, so the items are read as wide text and converted.
std::vector<std::string> Items(HWND box)
{
    const bool list = IsClass(box, "obj_LISTBOX");
    std::vector<std::string> items;
    for (LRESULT i = 0, n = SendMessageA(box, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0); i < n; ++i) {
        std::wstring wide((size_t)SendMessageA(box, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        const int length = (int)SendMessageW(box, list ? LB_GETTEXT : CB_GETLBTEXT, i, (LPARAM)&wide[0]);
        items.emplace_back(wide.size() * 2, '\0');
        items.back().resize(WideCharToMultiByte(CP_ACP, 0, wide.c_str(), length, &items.back()[0],
                                                (int)items.back().size(), nullptr, nullptr));
    }
    return items;
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, Collect, (LPARAM)&found);
    return found;
}

HWND Child(HWND parent, const char* className, const char* text)
{
    for (HWND window : Descendants(parent))
        if (IsClass(window, className) && (!text || Text(window) == text))
            return window;
    return nullptr;
}

HWND TopLevel(DWORD process, const char* className, const char* title, const char* showing)
{
    std::vector<HWND> windows;
    EnumWindows(Collect, (LPARAM)&windows);
    for (HWND window : windows) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if ((!process || owner == process) && IsWindowVisible(window) && IsClass(window, className) &&
            (!title || Text(window) == title) && (!showing || Child(window, nullptr, showing)))
            return window;
    }
    return nullptr;
}

HWND Control(HWND window, int id)
{
    for (HWND child : Descendants(window))
        if (GetDlgCtrlID(child) == id)
            return child;
    throw std::runtime_error("the main window has no control " + std::to_string(id));
}

// By name: Wine reuses process numbers, and a child of the number's earlier owner may run.
DWORD Running(const char* exe, DWORD parent, bool inJob)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry), jobbed; more && !found; more = Process32Next(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID);
        if ((!parent || entry.th32ParentProcessID == parent) && !lstrcmpiA(entry.szExeFile, exe) &&
            (!inJob || (IsProcessInJob(process, nullptr, &jobbed) && jobbed)))
            found = entry.th32ProcessID;
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
}

bool HasFocus(HWND box)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
    return info.hwndFocus && (info.hwndFocus == box || GetParent(info.hwndFocus) == box);
}

void Key(WORD vk, WORD modifier)
{
    std::vector<INPUT> inputs = {KeyInput(modifier, 0, 0), KeyInput(vk, 0, 0), KeyInput(vk, 0, KEYEVENTF_KEYUP),
                                 KeyInput(modifier, 0, KEYEVENTF_KEYUP)};
    Send(modifier ? inputs : std::vector<INPUT>(inputs.begin() + 1, inputs.end() - 1));
}

// Under Wine every move of the pointer makes the display send the window under it
// the display's own key state, in which Ctrl is up, and the program takes it over
// whenever it reads it. So Ctrl goes down with the move, and the click waits until
// that report has set it up again and then moves the pointer no more.
void Click(HWND window, bool ctrl, int count, POINT at)
{
    HWND root = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(root);
    Require("window \"" + Text(root) + "\" in the foreground", [&] { return GetForegroundWindow() == root; });
    RECT client;
    GetClientRect(window, &client);
    if (at.x < 0)
        at = {client.right / 2, client.bottom / 2};
    ClientToScreen(window, &at);
    // No user clicks one spot twice within the double-click time by accident.
    static POINT last;
    static DWORD lastTime;
    if (abs(at.x - last.x) <= GetSystemMetrics(SM_CXDOUBLECLK) && abs(at.y - last.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
        Require("the double-click time to pass", [] { return GetTickCount() - lastTime > GetDoubleClickTime(); });
    POINT cursor;
    if (ctrl && GetProcAddress(GetModuleHandleA("ntdll"), "wine_get_version") && GetCursorPos(&cursor) &&
        (cursor.x != at.x || cursor.y != at.y)) {
        Send({KeyInput(VK_CONTROL, 0, 0), MouseInput(at, 0)});
        Require("the display's key state to reach the program", [] { return GetAsyncKeyState(VK_CONTROL) >= 0; });
    }
    std::vector<INPUT> inputs = {KeyInput(VK_CONTROL, 0, 0), MouseInput(at, 0)};
    for (int i = 0; i < count; ++i)
        inputs.insert(inputs.end(), {MouseInput(at, MOUSEEVENTF_LEFTDOWN), MouseInput(at, MOUSEEVENTF_LEFTUP)});
    inputs.push_back(KeyInput(VK_CONTROL, 0, KEYEVENTF_KEYUP));
    Send(ctrl ? inputs : std::vector<INPUT>(inputs.begin() + 1, inputs.end() - 1));
    last = at;
    lastTime = GetTickCount();
}

void TypeOver(HWND box, const std::string& text)
{
    Click(box);
    Require("the focus in the " + Class(box) + " clicked into", [&] { return HasFocus(box); });
    Key(VK_END);
    Key(VK_HOME, VK_SHIFT);
    for (unsigned char c : text)   // each as a Unicode packet, whatever the keyboard in use
        Send({KeyInput(0, c, KEYEVENTF_UNICODE), KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
    Require("the " + Class(box) + " to show " + text, [&] { return Text(box) == text; });
}

Dialog WaitForDialog(DWORD process, const char* title, const char* showing)
{
    HWND found = nullptr;
    Require(std::string("a dialog \"") + (title ? title : "") + "\" showing \"" + (showing ? showing : "") + "\"",
            [&] { return (found = TopLevel(process, "#32770", title, showing)) != nullptr; });
    Dialog dialog = {found, "", {}};
    for (HWND child : Descendants(found)) {
        if (IsWindowVisible(child) && IsClass(child, "Button"))
            dialog.Buttons.push_back(Text(child));
        else if (IsWindowVisible(child) && IsClass(child, "Static") && !Text(child).empty())
            dialog.Text += (dialog.Text.empty() ? "" : "\n") + Text(child);
    }
    return dialog;
}

void Press(const Dialog& dialog, const std::string& caption)
{
    HWND button = Child(dialog.Window, "Button", caption.c_str());
    if (!button)
        throw std::runtime_error("the dialog has no button \"" + caption + "\"");
    Click(button);
    Require("the dialog to close", [&] { return !IsWindowVisible(dialog.Window); });
}

void ChooseFile(const Dialog& dialog, const std::string& path)
{
    TypeOver(Child(GetDlgItem(dialog.Window, 1148), "Edit"), path);   // the file name box
    Key(VK_RETURN);
    Require("the file dialog to close", [&] { return !IsWindowVisible(dialog.Window); });
}

// The dialog selects a folder as its owner may ask it to; the path travels in the
// dialog's own process, where the message's pointer is read.
void ChooseFolder(const Dialog& dialog, const std::string& path)
{
    DWORD id = 0;
    GetWindowThreadProcessId(dialog.Window, &id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
    void* remote = VirtualAllocEx(process, nullptr, path.size() + 1, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(process, remote, path.c_str(), path.size() + 1, nullptr);
    CloseHandle(process);
    HWND tree = Child(dialog.Window, "SysTreeView32"), ok = Child(dialog.Window, "Button", "OK");
    Require("the folder tree", [&] { return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0) != 0; });
    SendMessageA(dialog.Window, BFFM_SETSELECTIONA, TRUE, (LPARAM)remote);
    Require("the OK button to be enabled", [&] { return IsWindowEnabled(ok); });
    Press(dialog, "OK");
}

}
