#include "support/GuiTestWin32.h"

namespace gui {

namespace {

// How often a waiting thread looks at its condition again when no message wakes it.
const DWORD PollMs = 10;

bool EqualsIgnoringCase(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

void SendInputs(std::vector<INPUT>& inputs) { SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT)); }

bool IsExtendedKey(WORD vk) { return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE; }

// The first visible top-level window of the process that satisfies match.
HWND FindTopLevel(DWORD processId, const std::function<bool(HWND)>& match)
{
    for (HWND window : TopLevelWindows(processId))
        if (match(window))
            return window;
    return nullptr;
}

}

INPUT KeyInput(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT MouseInput(POINT screen, DWORD flags)
{
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute positions run from 0 to 65535 over the screen; rounding up lands on the pixel.
    input.mi.dx = (screen.x * 65536 + width - 1) / width;
    input.mi.dy = (screen.y * 65536 + height - 1) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

//--- Waiting

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed < PollMs ? timeoutMs - elapsed : PollMs,
                                  QS_ALLINPUT);
    }
}

// A zero-time wait lets the window system deliver what it still holds for this
// thread (under Wine: pending display events); the queue is idle when neither that
// nor the queue itself has anything left.
void PumpUntilIdle(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT) == WAIT_TIMEOUT
            && GetQueueStatus(QS_ALLINPUT) == 0)
            return;
    } while (GetTickCount() - start < timeoutMs);
}

//--- Finding windows

std::string WindowText(HWND window)
{
    char text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_NORMAL, DefaultTimeoutMs, &length);
    return std::string(text, (size_t)length < sizeof text ? (size_t)length : sizeof text - 1);
}

std::string WindowClass(HWND window)
{
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? (size_t)length : 0);
}

namespace {

struct WindowSearch {
    DWORD ProcessId;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data)
{
    auto* search = (WindowSearch*)data;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search->ProcessId == 0 || owner == search->ProcessId) && IsWindowVisible(window))
        search->Found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data)
{
    ((std::vector<HWND>*)data)->push_back(window);
    return TRUE;
}

}

std::vector<HWND> TopLevelWindows(DWORD processId)
{
    WindowSearch search = {processId, {}};
    EnumWindows(CollectTopLevel, (LPARAM)&search);
    return search.Found;
}

HWND FindTopLevelWindow(const std::string& title, DWORD processId)
{
    return FindTopLevel(processId, [&](HWND window) { return WindowText(window) == title; });
}

HWND FindDialog(const std::string& title, DWORD processId)
{
    return FindTopLevel(processId,
                        [&](HWND window) { return WindowClass(window) == "#32770" && WindowText(window) == title; });
}

HWND FindTopLevelWindowShowing(const std::string& text, DWORD processId)
{
    return FindTopLevel(processId, [&](HWND window) { return FindDescendant(window, nullptr, text.c_str()) != nullptr; });
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectChild, (LPARAM)&found);
    return found;
}

HWND FindDescendant(HWND parent, const char* className, const char* text)
{
    for (HWND window : Descendants(parent))
        if ((!className || EqualsIgnoringCase(WindowClass(window), className)) && (!text || WindowText(window) == text))
            return window;
    return nullptr;
}

std::vector<HWND> VisibleButtons(HWND parent)
{
    std::vector<HWND> buttons;
    for (HWND window : Descendants(parent))
        if (EqualsIgnoringCase(WindowClass(window), "Button") && IsWindowVisible(window))
            buttons.push_back(window);
    return buttons;
}

//--- Answering modal dialogs

DialogAnswerer::DialogAnswerer(std::function<HWND()> find, std::function<void(HWND)> answer, DWORD timeoutMs)
{
    FThread = std::thread([this, find, answer, timeoutMs] {
        HWND window = nullptr;
        if (WaitUntil([&] { return (window = find()) != nullptr; }, timeoutMs)) {
            answer(window);
            FWindow = window;
        }
    });
}

DialogAnswerer::DialogAnswerer(const std::string& title, std::function<void(HWND)> answer, DWORD timeoutMs)
    : DialogAnswerer([title] { return FindDialog(title); }, answer, timeoutMs)
{
}

DialogAnswerer::~DialogAnswerer() { Wait(); }

bool DialogAnswerer::Wait()
{
    if (FThread.joinable())
        FThread.join();
    return FWindow != nullptr;
}

void SetText(HWND control, const std::string& text)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_NORMAL, DefaultTimeoutMs, &result);
}

void PressButton(HWND button)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, DefaultTimeoutMs, &result);
}

void PressDialogButton(HWND dialog, int id) { PressButton(GetDlgItem(dialog, id)); }

//--- Real input

bool BringToFront(HWND window, DWORD timeoutMs)
{
    SetForegroundWindow(window);
    return WaitUntil([window] { return GetForegroundWindow() == window; }, timeoutMs);
}

void PressKey(WORD vk, WORD modifier)
{
    std::vector<INPUT> inputs;
    if (modifier)
        inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    if (modifier)
        inputs.push_back(KeyInput(modifier, true));
    SendInputs(inputs);
}

// Each character goes as the key (with Shift) that makes it on the keyboard in
// use; a character that no key makes goes as a Unicode packet.
void TypeText(const std::string& text)
{
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        if (scan != -1) {
            PressKey(LOBYTE(scan), (HIBYTE(scan) & 1) ? VK_SHIFT : 0);
            continue;
        }
        std::vector<INPUT> inputs(2);
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = (unsigned char)c;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInputs(inputs);
    }
}

POINT ClientCenter(HWND window)
{
    RECT rect;
    GetClientRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ClickAt(HWND window, POINT client, int count)
{
    POINT screen = client;
    ClientToScreen(window, &screen);
    std::vector<INPUT> inputs = {MouseInput(screen, 0)};
    for (int i = 0; i < count; ++i) {
        inputs.push_back(MouseInput(screen, MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(MouseInput(screen, MOUSEEVENTF_LEFTUP));
    }
    SendInputs(inputs);
}

}
