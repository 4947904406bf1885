#include "support/AppDriverWin32.h"

#include "support/GuiTestWin32.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

std::string Hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

bool IsClass(HWND window, const char* name)
{
    return lstrcmpiA(gui::WindowClass(window).c_str(), name) == 0;
}

bool RunsUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

void BringToFront(HWND window)
{
    if (!gui::BringToFront(GetAncestor(window, GA_ROOT), AppTimeoutMs))
        throw std::runtime_error("window \"" + gui::WindowText(GetAncestor(window, GA_ROOT)) +
                                 "\" did not come to the foreground");
}

} // namespace

void Require(const std::string& what, const std::function<bool()>& condition, DWORD timeoutMs)
{
    if (!gui::WaitUntil(condition, timeoutMs))
        throw std::runtime_error("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what);
}

//--- The process

AppDriver::~AppDriver()
{
    Terminate();
    if (FProcess)
        CloseHandle(FProcess);
}

void AppDriver::Terminate()
{
    if (!IsRunning())
        return;
    TerminateProcess(FProcess, 255);
    WaitForSingleObject(FProcess, AppTimeoutMs);
}

void AppDriver::Start(const std::string& exePath)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" + exePath + "\"";
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        throw std::runtime_error("cannot start " + exePath + ": error " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    FProcess = info.hProcess;
    FProcessId = info.dwProcessId;
    Require("the main window \"Spindrel\" to show", [this] {
        if (!IsRunning())
            throw std::runtime_error("the program ended before it showed its window");
        FMain = gui::FindTopLevelWindow("Spindrel", FProcessId);
        return FMain != nullptr;
    });
    FThreadId = GetWindowThreadProcessId(FMain, nullptr);
}

bool AppDriver::IsRunning() const
{
    return FProcess && WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT;
}

DWORD AppDriver::WaitForExit()
{
    Require("the program to end", [this] { return !IsRunning(); });
    DWORD code = 0;
    GetExitCodeProcess(FProcess, &code);
    return code;
}

void AppDriver::WaitForItsProcesses() const
{
    Require("the processes started by the program to end", [this] {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        bool found = false;
        for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
            found = entry.th32ParentProcessID == FProcessId;
        CloseHandle(snapshot);
        return !found;
    });
}

void AppDriver::Sync() const
{
    Send(FMain, WM_NULL, 0, 0);
}

LRESULT AppDriver::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, AppTimeoutMs, &result))
        throw std::runtime_error("window " + gui::WindowClass(window) + " did not answer message " + Hex(message));
    return static_cast<LRESULT>(result);
}

HWND AppDriver::Control(int id) const
{
    for (HWND window : gui::Descendants(FMain))
        if (GetDlgCtrlID(window) == id)
            return window;
    throw std::runtime_error("the main window has no control " + Hex(static_cast<unsigned>(id)));
}

HWND AppDriver::FocusedWindow() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(FThreadId, &info))
        return nullptr;
    return info.hwndFocus;
}

//--- Reading what the program shows

std::string AppDriver::Text(HWND window) const
{
    const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

RECT AppDriver::PlaceInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int AppDriver::CheckState(HWND checkBox) const
{
    return static_cast<int>(Send(checkBox, BM_GETCHECK, 0, 0));
}

std::vector<std::string> AppDriver::ComboItems(HWND combo) const
{
    return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int AppDriver::ComboSelection(HWND combo) const
{
    return static_cast<int>(Send(combo, CB_GETCURSEL, 0, 0));
}

std::vector<std::string> AppDriver::ListItems(HWND list) const
{
    return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

// Wine hands the item text of another process's list back in UTF-16 whatever the
// caller's character set, so the items are read as wide text and converted.
std::vector<std::string> AppDriver::Items(HWND window, UINT countMessage, UINT lengthMessage,
                                          UINT textMessage) const
{
    std::vector<std::string> items;
    const LRESULT count = Send(window, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring wide(static_cast<size_t>(Send(window, lengthMessage, i, 0)) + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(window, textMessage, i, reinterpret_cast<LPARAM>(&wide[0]), SMTO_NORMAL,
                                 AppTimeoutMs, &copied))
            throw std::runtime_error("window " + gui::WindowClass(window) + " did not answer message " +
                                     Hex(textMessage));
        std::string text(wide.size() * 2, '\0');
        const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(copied), &text[0],
                                               static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(static_cast<size_t>(length));
        items.push_back(text);
    }
    return items;
}

std::vector<int> AppDriver::ListSelection(HWND list) const
{
    std::vector<int> selected;
    const LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (Send(list, LB_GETSEL, i, 0) > 0)
            selected.push_back(static_cast<int>(i));
    return selected;
}

//--- Acting as a user

void AppDriver::ClickAt(HWND window, POINT client, bool withCtrl) const
{
    POINT screen = client;
    ClientToScreen(window, &screen);
    // No user clicks one spot twice within the double-click time by accident.
    if (std::abs(screen.x - FLastClick.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        std::abs(screen.y - FLastClick.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
        Require("the double-click time to pass",
                [this] { return GetTickCount() - FLastClickTime > GetDoubleClickTime(); });
    std::vector<INPUT> inputs;
    if (withCtrl) {
        // Under Wine every move of the pointer makes the display send the window
        // under it the display's own key state, in which Ctrl is up, and the program
        // takes it over whenever it reads it. So Ctrl goes down before the move, the
        // click waits until that report has set it up again, and the click itself
        // then moves the pointer no more.
        POINT at;
        if (RunsUnderWine() && GetCursorPos(&at) && (at.x != screen.x || at.y != screen.y)) {
            INPUT ctrlAndMove[] = {gui::KeyInput(VK_CONTROL, false), gui::MouseInput(screen, 0)};
            SendInput(2, ctrlAndMove, sizeof(INPUT));
            Require("the display's key state to reach the program", [] { return GetAsyncKeyState(VK_CONTROL) >= 0; });
        }
        inputs.push_back(gui::KeyInput(VK_CONTROL, false));
    }
    inputs.push_back(gui::MouseInput(screen, 0));
    inputs.push_back(gui::MouseInput(screen, MOUSEEVENTF_LEFTDOWN));
    inputs.push_back(gui::MouseInput(screen, MOUSEEVENTF_LEFTUP));
    if (withCtrl)
        inputs.push_back(gui::KeyInput(VK_CONTROL, true));
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw std::runtime_error("the click could not be sent");
    FLastClick = screen;
    FLastClickTime = GetTickCount();
}

void AppDriver::Click(HWND window, bool withCtrl) const
{
    BringToFront(window);
    ClickAt(window, gui::ClientCenter(window), withCtrl);
}

void AppDriver::FocusEdit(HWND edit) const
{
    Click(edit);
    Require("the focus in the " + gui::WindowClass(edit) + " clicked into", [this, edit] {
        HWND focus = FocusedWindow();
        return focus && (focus == edit || GetParent(focus) == edit);
    });
}

void AppDriver::TypeOver(HWND edit, const std::string& text) const
{
    FocusEdit(edit);
    gui::PressKey(VK_END);
    gui::PressKey(VK_HOME, VK_SHIFT);
    gui::TypeText(text);
    Require("the " + gui::WindowClass(edit) + " to show " + text, [&] { return Text(edit) == text; });
}

void AppDriver::StepComboTo(HWND combo, int index) const
{
    FocusEdit(combo);
    for (int current = ComboSelection(combo); current != index; current = ComboSelection(combo)) {
        gui::PressKey(current < index ? VK_DOWN : VK_UP);
        Require("the combo box's selection to move", [&] { return ComboSelection(combo) != current; });
    }
}

void AppDriver::PickComboItem(HWND combo, int index) const
{
    BringToFront(combo);
    RECT client;
    GetClientRect(combo, &client);
    ClickAt(combo, {client.right - GetSystemMetrics(SM_CXVSCROLL) / 2 - 1, client.bottom / 2}, false);
    Require("the combo box's list to open", [&] { return Send(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; });
    // The open list is a top-level window of its own.
    HWND list = nullptr;
    Require("the combo box's list window", [&] {
        for (HWND window : gui::TopLevelWindows(FProcessId))
            if (IsClass(window, "ComboLBox"))
                list = window;
        return list != nullptr;
    });
    // Once the arrow button is released the combo box hands the mouse to its list;
    // a click before that would reach the combo box instead.
    Require("the combo box's list to take the mouse", [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(FThreadId, &info) && info.hwndCapture == list;
    });
    const LRESULT top = Send(list, LB_GETTOPINDEX, 0, 0);
    const LRESULT itemHeight = Send(list, LB_GETITEMHEIGHT, 0, 0);
    RECT listClient;
    GetClientRect(list, &listClient);
    const LONG y = static_cast<LONG>((index - top) * itemHeight + itemHeight / 2);
    if (y < 0 || y >= listClient.bottom)
        throw std::runtime_error("item " + std::to_string(index) + " is out of the combo box's open list, which is " +
                                 std::to_string(listClient.right) + " x " + std::to_string(listClient.bottom) +
                                 " pixels with item " + std::to_string(top) + " on top");
    ClickAt(list, {listClient.right / 2, y}, false);
    Require("the combo box's list to close", [&] { return Send(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; });
}

void AppDriver::ClickListItem(HWND list, int index, bool withCtrl) const
{
    BringToFront(list);
    const LRESULT top = Send(list, LB_GETTOPINDEX, 0, 0);
    const LRESULT itemHeight = Send(list, LB_GETITEMHEIGHT, 0, 0);
    ClickAt(list, {8, static_cast<LONG>((index - top) * itemHeight + itemHeight / 2)}, withCtrl);
}

// A drop handle is read in the process that receives it, so the drop's record, with
// the paths in UTF-16 as Windows and Wine's X11 drops give them, is written into the
// program's own memory, which lives as long as the program.
void AppDriver::DropFiles(const std::vector<std::string>& paths) const
{
    std::wstring names;
    for (const std::string& path : paths) {
        std::wstring wide(path.size(), L'\0');
        wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()),
                                                            &wide[0], static_cast<int>(wide.size()))));
        names += wide + L'\0';
    }
    DROPFILES header = {};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::string drop(reinterpret_cast<const char*>(&header), sizeof header);
    drop.append(reinterpret_cast<const char*>(names.c_str()), (names.size() + 1) * sizeof(wchar_t));
    void* remote = VirtualAllocEx(FProcess, nullptr, drop.size(), MEM_COMMIT, PAGE_READWRITE);
    if (!remote || !WriteProcessMemory(FProcess, remote, drop.data(), drop.size(), nullptr) ||
        !PostMessageA(FMain, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0))
        throw std::runtime_error("cannot drop files onto the program");
}

void AppDriver::ChooseFirstMenuItem(int index) const
{
    BringToFront(FMain);
    // Wine reports menu mode for the menu bar but not which of its pop-ups is open,
    // so the open pop-up is recognised by its window.
    auto inMenuMode = [this] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(FThreadId, &info);
        return (info.flags & GUI_INMENUMODE) != 0;
    };
    gui::PressKey(VK_F10);
    Require("the menu bar to take the keyboard", inMenuMode);
    gui::PressKey(VK_DOWN);
    Require("the first pop-up menu to open", [this] {
        for (HWND window : gui::TopLevelWindows(FProcessId))
            if (IsClass(window, "#32768"))
                return true;
        return false;
    });
    for (int i = 0; i < index; ++i)
        gui::PressKey(VK_DOWN);
    gui::PressKey(VK_RETURN);
    Require("the menu to close", [&] { return !inMenuMode(); });
}

//--- Dialogs and message boxes

DialogView AppDriver::View(HWND dialog) const
{
    DialogView view;
    view.Window = dialog;
    view.Caption = gui::WindowText(dialog);
    for (HWND child : gui::Descendants(dialog)) {
        if (!IsWindowVisible(child))
            continue;
        if (IsClass(child, "Button")) {
            view.Buttons.push_back(Text(child));
        } else if (IsClass(child, "Static") && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            const std::string text = Text(child);
            if (text.empty())
                continue;
            if (!view.Text.empty())
                view.Text += '\n';
            view.Text += text;
        }
    }
    return view;
}

// For a failed wait: what the program shows instead.
std::string AppDriver::OpenDialogs() const
{
    std::string shown;
    for (HWND window : gui::TopLevelWindows(FProcessId)) {
        if (IsClass(window, "#32770")) {
            const DialogView view = View(window);
            shown += " \"" + view.Caption + "\": \"" + view.Text + "\"";
        }
    }
    return shown.empty() ? " none" : shown;
}

DialogView AppDriver::WaitForDialog(const std::string& caption) const
{
    HWND found = nullptr;
    if (!gui::WaitUntil([&] { return (found = gui::FindDialog(caption, FProcessId)) != nullptr; }, AppTimeoutMs))
        throw std::runtime_error("no dialog captioned \"" + caption + "\" appeared; open dialogs:" + OpenDialogs());
    return View(found);
}

DialogView AppDriver::WaitForDialogShowing(const std::string& text) const
{
    HWND found = nullptr;
    if (!gui::WaitUntil(
            [&] {
                found = gui::FindTopLevelWindowShowing(text, FProcessId);
                return found && IsClass(found, "#32770");
            },
            AppTimeoutMs))
        throw std::runtime_error("no dialog showing \"" + text + "\" appeared; open dialogs:" + OpenDialogs());
    return View(found);
}

bool AppDriver::HasDialog() const
{
    for (HWND window : gui::TopLevelWindows(FProcessId))
        if (IsClass(window, "#32770"))
            return true;
    return false;
}

void AppDriver::CloseDialog(const DialogView& dialog, const std::string& buttonCaption) const
{
    HWND button = gui::FindDescendant(dialog.Window, "Button", buttonCaption.c_str());
    if (!button)
        throw std::runtime_error("dialog \"" + dialog.Caption + "\" has no button \"" + buttonCaption + "\"");
    Click(button);
    Require("dialog \"" + dialog.Caption + "\" to close", [&] { return !IsWindowVisible(dialog.Window); });
}

void AppDriver::ChooseFile(const std::string& caption, const std::string& path) const
{
    const DialogView dialog = WaitForDialog(caption);
    HWND nameBox = nullptr;
    for (HWND child : gui::Descendants(dialog.Window))
        if (IsClass(child, "Edit") && IsWindowVisible(child))
            nameBox = child;
    if (!nameBox)
        throw std::runtime_error("dialog \"" + caption + "\" has no file name box");
    // The dialog offers the last choice again.
    TypeOver(nameBox, path);
    gui::PressKey(VK_RETURN);
    Require("dialog \"" + caption + "\" to close", [&] { return !IsWindowVisible(dialog.Window); });
}

// The tree view's item messages carry pointers, which no other process can follow,
// so the item record and its text buffer live in the program's own memory.
std::string AppDriver::TreeItemText(HWND tree, HTREEITEM item) const
{
    const SIZE_T textSize = 1024;
    char* remote = static_cast<char*>(
        VirtualAllocEx(FProcess, nullptr, sizeof(TVITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        throw std::runtime_error("cannot reserve memory in the program");
    TVITEMA record = {};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = remote + sizeof(TVITEMA);
    record.cchTextMax = textSize;
    char text[textSize] = "";
    const bool read = WriteProcessMemory(FProcess, remote, &record, sizeof record, nullptr) &&
                      Send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote)) &&
                      ReadProcessMemory(FProcess, remote + sizeof(TVITEMA), text, textSize - 1, nullptr);
    VirtualFreeEx(FProcess, remote, 0, MEM_RELEASE);
    if (!read)
        throw std::runtime_error("cannot read an item of the folder tree");
    return text;
}

HTREEITEM AppDriver::TreeChild(HWND tree, HTREEITEM parent, const std::string& what,
                               const std::function<bool(const std::string&)>& matches) const
{
    // The dialog fills a folder's children when the user expands it, which the
    // Right arrow key does for the selected item.
    Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(parent));
    Send(tree, WM_KEYDOWN, VK_RIGHT, 0);
    Send(tree, WM_KEYUP, VK_RIGHT, 0);
    HTREEITEM found = nullptr;
    Require(what + " in the folder tree", [&] {
        for (LRESULT child = Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)); child;
             child = Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, child)) {
            if (matches(TreeItemText(tree, reinterpret_cast<HTREEITEM>(child)))) {
                found = reinterpret_cast<HTREEITEM>(child);
                return true;
            }
        }
        return false;
    });
    return found;
}

void AppDriver::ChooseFolder(const std::string& title, const std::string& path) const
{
    const DialogView dialog = WaitForDialogShowing(title);
    HWND tree = gui::FindDescendant(dialog.Window, "SysTreeView32");
    if (!tree)
        throw std::runtime_error("the folder dialog has no folder tree");
    HTREEITEM item = nullptr;
    Require("the folder tree's root", [&] {
        return (item = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0))) != nullptr;
    });
    item = TreeChild(tree, item, "\"My Computer\"", [](const std::string& text) { return text == "My Computer"; });
    // Drives are listed as their label followed by the drive in brackets: " (C:)".
    const std::string drive = "(" + path.substr(0, 2) + ")";
    item = TreeChild(tree, item, "drive " + drive, [&](const std::string& text) {
        return text.size() >= drive.size() && text.compare(text.size() - drive.size(), drive.size(), drive) == 0;
    });
    for (size_t start = 3; start < path.size();) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string name = path.substr(start, end - start);
        item = TreeChild(tree, item, "folder \"" + name + "\"", [&](const std::string& text) { return text == name; });
        start = end + 1;
    }
    Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    HWND ok = gui::FindDescendant(dialog.Window, "Button", "OK");
    Require("the folder dialog's OK button to accept " + path, [&] { return ok && IsWindowEnabled(ok); });
    CloseDialog(dialog, "OK");
}
