#include "support/AppDriverWin32.h"

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

struct TopLevelSearch {
    DWORD ProcessId;
    const std::function<bool(HWND)>* Matches;
    HWND Found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->ProcessId || !IsWindowVisible(window) || !(*search->Matches)(window))
        return TRUE;
    search->Found = window;
    return FALSE;
}

// Top-level windows belong to no parent, so they are found by process.
HWND FindTopLevel(DWORD processId, const std::function<bool(HWND)>& matches)
{
    TopLevelSearch search = {processId, &matches, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool IsClass(HWND window, const char* name)
{
    return lstrcmpiA(AppDriver::ClassName(window).c_str(), name) == 0;
}

// The caption of a top-level window, which Windows keeps without asking the window.
std::string Caption(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

POINT Centre(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

INPUT KeyInput(WORD virtualKey, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    switch (virtualKey) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
        input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
        break;
    }
    if (up)
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    return input;
}

INPUT MouseInput(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

void SendInputs(std::vector<INPUT> inputs)
{
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size())
        throw std::runtime_error("SendInput delivered " + std::to_string(sent) + " of " +
                                 std::to_string(inputs.size()) + " events");
}

}  // namespace

void WaitUntil(const std::string& what, const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            throw std::runtime_error("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what);
        Sleep(10);
    }
}

//--- The process

AppDriver::~AppDriver()
{
    Terminate();
    if (process_)
        CloseHandle(process_);
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
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    WaitUntil("the main window \"Spindrel\" to show", [this] {
        if (!IsRunning())
            throw std::runtime_error("the program ended before showing its window");
        main_ = FindTopLevel(processId_, [](HWND window) {
            return ClassName(window) == "obj_Form" && Caption(window) == "Spindrel";
        });
        return main_ != nullptr;
    });
    threadId_ = GetWindowThreadProcessId(main_, nullptr);
}

bool AppDriver::IsRunning() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD AppDriver::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        throw std::runtime_error("the program did not end within " + std::to_string(timeoutMs) + " ms");
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void AppDriver::Terminate()
{
    if (!IsRunning())
        return;
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, kWaitTimeoutMs);
}

void AppDriver::Sync() const
{
    Send(main_, WM_NULL, 0, 0);
}

LRESULT AppDriver::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kWaitTimeoutMs, &result))
        throw std::runtime_error("window " + ClassName(window) + " did not answer message " + Hex(message));
    return static_cast<LRESULT>(result);
}

HWND AppDriver::Control(int id) const
{
    for (HWND window : Descendants(main_))
        if (GetDlgCtrlID(window) == id)
            return window;
    throw std::runtime_error("the main window has no control " + Hex(static_cast<unsigned>(id)));
}

HWND AppDriver::FocusedWindow() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId_, &info))
        return nullptr;
    return info.hwndFocus;
}

//--- Reading what a window shows

std::string AppDriver::ClassName(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

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

bool AppDriver::HasVisibleStyle(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

int AppDriver::CheckState(HWND checkBox) const
{
    return static_cast<int>(Send(checkBox, BM_GETCHECK, 0, 0));
}

std::vector<std::string> AppDriver::ComboItems(HWND combo) const
{
    std::vector<std::string> items;
    const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(Send(combo, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
        const LRESULT copied = Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
        items.push_back(text);
    }
    return items;
}

int AppDriver::ComboSelection(HWND combo) const
{
    return static_cast<int>(Send(combo, CB_GETCURSEL, 0, 0));
}

std::vector<std::string> AppDriver::ListItems(HWND list) const
{
    std::vector<std::string> items;
    const LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(Send(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        const LRESULT copied = Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
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

void AppDriver::Activate(HWND topLevel) const
{
    WaitUntil("window \"" + Caption(topLevel) + "\" to come to the foreground", [topLevel] {
        if (GetForegroundWindow() == topLevel)
            return true;
        SetForegroundWindow(topLevel);
        return false;
    });
}

void AppDriver::ClickAt(POINT screen, bool withCtrl) const
{
    // A second click on the same spot within the double-click time would reach the
    // window as a double click, which no user means when clicking twice slowly.
    const DWORD sinceLast = GetTickCount() - lastClickTime_;
    if (std::abs(screen.x - lastClick_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        std::abs(screen.y - lastClick_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) && sinceLast <= GetDoubleClickTime())
        WaitUntil("the double-click time to pass", [this] {
            return GetTickCount() - lastClickTime_ > GetDoubleClickTime();
        });
    SetCursorPos(screen.x, screen.y);
    WaitUntil("the mouse pointer to move", [screen] {
        POINT at;
        return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
    });
    std::vector<INPUT> inputs;
    if (withCtrl)
        inputs.push_back(KeyInput(VK_CONTROL, false));
    inputs.push_back(MouseInput(MOUSEEVENTF_LEFTDOWN));
    inputs.push_back(MouseInput(MOUSEEVENTF_LEFTUP));
    if (withCtrl)
        inputs.push_back(KeyInput(VK_CONTROL, true));
    SendInputs(inputs);
    lastClick_ = screen;
    lastClickTime_ = GetTickCount();
}

void AppDriver::Click(HWND window, bool withCtrl) const
{
    Activate(GetAncestor(window, GA_ROOT));
    ClickAt(Centre(window), withCtrl);
}

void AppDriver::PressKey(WORD virtualKey, bool withShift) const
{
    std::vector<INPUT> inputs;
    if (withShift)
        inputs.push_back(KeyInput(VK_SHIFT, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (withShift)
        inputs.push_back(KeyInput(VK_SHIFT, true));
    SendInputs(inputs);
}

void AppDriver::TypeText(const std::string& text) const
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x80) {
            const SHORT key = VkKeyScanA(c);
            if (key == -1)
                throw std::runtime_error(std::string("no key types '") + c + "'");
            PressKey(LOBYTE(key), (HIBYTE(key) & 1) != 0);
            continue;
        }
        // A character outside the keyboard layout arrives as a Unicode key stroke.
        wchar_t wide = 0;
        MultiByteToWideChar(CP_ACP, 0, &c, 1, &wide, 1);
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wScan = wide;
        down.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT up = down;
        up.ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInputs({down, up});
    }
}

void AppDriver::FocusEdit(HWND edit) const
{
    Click(edit);
    WaitUntil("the focus in the " + ClassName(edit) + " clicked into", [this, edit] {
        HWND focus = FocusedWindow();
        return focus && (focus == edit || GetParent(focus) == edit);
    });
}

void AppDriver::PickComboItem(HWND combo, int index) const
{
    Activate(GetAncestor(combo, GA_ROOT));
    RECT client;
    GetClientRect(combo, &client);
    POINT arrow = {client.right - GetSystemMetrics(SM_CXVSCROLL) / 2 - 1, (client.top + client.bottom) / 2};
    ClientToScreen(combo, &arrow);
    ClickAt(arrow, false);
    WaitUntil("the combo box's list to open", [&] { return Send(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; });

    HWND list = nullptr;
    WaitUntil("the combo box's list window", [&] {
        list = FindTopLevel(processId_, [](HWND window) { return IsClass(window, "ComboLBox"); });
        return list != nullptr;
    });
    const int itemHeight = static_cast<int>(Send(list, LB_GETITEMHEIGHT, 0, 0));
    RECT listClient;
    GetClientRect(list, &listClient);
    const int visibleItems = listClient.bottom / itemHeight;
    for (;;) {
        const LRESULT top = Send(list, LB_GETTOPINDEX, 0, 0);
        if (index >= top && index < top + visibleItems)
            break;
        POINT scrollArrow = {listClient.right + GetSystemMetrics(SM_CXVSCROLL) / 2,
                             index < top ? GetSystemMetrics(SM_CYVSCROLL) / 2
                                         : listClient.bottom - GetSystemMetrics(SM_CYVSCROLL) / 2};
        ClientToScreen(list, &scrollArrow);
        ClickAt(scrollArrow, false);
        WaitUntil("the combo box's list to scroll", [&] { return Send(list, LB_GETTOPINDEX, 0, 0) != top; });
    }
    const LRESULT top = Send(list, LB_GETTOPINDEX, 0, 0);
    POINT item = {listClient.right / 2, static_cast<LONG>((index - top) * itemHeight + itemHeight / 2)};
    ClientToScreen(list, &item);
    ClickAt(item, false);
    WaitUntil("the combo box's list to close", [&] { return Send(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; });
}

void AppDriver::ClickListItem(HWND list, int index, bool withCtrl) const
{
    Activate(GetAncestor(list, GA_ROOT));
    const LRESULT top = Send(list, LB_GETTOPINDEX, 0, 0);
    const LRESULT itemHeight = Send(list, LB_GETITEMHEIGHT, 0, 0);
    POINT item = {8, static_cast<LONG>((index - top) * itemHeight + itemHeight / 2)};
    ClientToScreen(list, &item);
    ClickAt(item, withCtrl);
}

void AppDriver::ChooseFirstMenuItem(int index) const
{
    Activate(main_);
    auto menuFlags = [this] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(threadId_, &info);
        return info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE);
    };
    PressKey(VK_F10);
    WaitUntil("the menu bar to take the keyboard", [&] { return menuFlags() == GUI_INMENUMODE; });
    PressKey(VK_DOWN);
    WaitUntil("the first pop-up menu to open", [&] { return (menuFlags() & GUI_POPUPMENUMODE) != 0; });
    for (int i = 0; i < index; ++i)
        PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    WaitUntil("the menu to close", [&] { return menuFlags() == 0; });
}

//--- Dialogs and message boxes

DialogView AppDriver::View(HWND dialog) const
{
    DialogView view;
    view.Window = dialog;
    view.Caption = Caption(dialog);
    for (HWND child : Descendants(dialog)) {
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

HWND AppDriver::FindDialog(const std::function<bool(const DialogView&)>& matches) const
{
    return FindTopLevel(processId_, [&](HWND window) { return IsClass(window, "#32770") && matches(View(window)); });
}

DialogView AppDriver::WaitForDialog(const std::string& caption) const
{
    HWND found = nullptr;
    WaitUntil("a dialog captioned \"" + caption + "\"", [&] {
        found = FindDialog([&](const DialogView& view) { return view.Caption == caption; });
        return found != nullptr;
    });
    return View(found);
}

DialogView AppDriver::WaitForDialogShowing(const std::string& text) const
{
    HWND found = nullptr;
    WaitUntil("a dialog showing \"" + text + "\"", [&] {
        found = FindDialog([&](const DialogView& view) { return view.Text.find(text) != std::string::npos; });
        return found != nullptr;
    });
    return View(found);
}

bool AppDriver::HasDialog() const
{
    return FindDialog([](const DialogView&) { return true; }) != nullptr;
}

void AppDriver::CloseDialog(const DialogView& dialog, const std::string& buttonCaption) const
{
    for (HWND child : Descendants(dialog.Window)) {
        if (IsClass(child, "Button") && IsWindowVisible(child) && Text(child) == buttonCaption) {
            Click(child);
            WaitUntil("dialog \"" + dialog.Caption + "\" to close", [&] { return !IsWindowVisible(dialog.Window); });
            return;
        }
    }
    throw std::runtime_error("dialog \"" + dialog.Caption + "\" has no button \"" + buttonCaption + "\"");
}

void AppDriver::ChooseFile(const std::string& caption, const std::string& path) const
{
    const DialogView dialog = WaitForDialog(caption);
    HWND nameBox = nullptr;
    for (HWND child : Descendants(dialog.Window))
        if (IsClass(child, "Edit") && IsWindowVisible(child))
            nameBox = child;
    if (!nameBox)
        throw std::runtime_error("dialog \"" + caption + "\" has no file name box");
    FocusEdit(nameBox);
    // Replace whatever the box holds (the dialog offers the last choice again).
    PressKey(VK_END);
    PressKey(VK_HOME, true);
    TypeText(path);
    WaitUntil("the file name box to show " + path, [&] { return Text(nameBox) == path; });
    PressKey(VK_RETURN);
    WaitUntil("dialog \"" + caption + "\" to close", [&] { return !IsWindowVisible(dialog.Window); });
}
