// Helpers for tests that drive real windows, in this process or in a program
// under test: waiting for a condition while messages are pumped, finding windows,
// answering modal dialogs from a helper thread, and real keyboard and mouse input
// through SendInput. Every wait has a timeout; none sleeps a fixed time.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace gui {

const DWORD DefaultTimeoutMs = 10000;

//--- Waiting

// Dispatches every message queued for this thread.
void PumpMessages();
// Pumps this thread's messages until condition() answers true; false on timeout.
// Safe on a thread without windows (it then only waits).
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = DefaultTimeoutMs);
// Pumps until the queue has stayed empty through a full round trip of the window
// system: everything queued before, and everything that caused, is processed. Use
// it after real input before asserting that nothing more happened.
void PumpUntilIdle(DWORD timeoutMs = DefaultTimeoutMs);

//--- Finding windows

std::string WindowText(HWND window);   // WM_GETTEXT; works across threads and processes
std::string WindowClass(HWND window);
// Visible top-level windows of a process (0 = any process).
std::vector<HWND> TopLevelWindows(DWORD processId = GetCurrentProcessId());
// The first visible top-level window of the process titled exactly title.
HWND FindTopLevelWindow(const std::string& title, DWORD processId = GetCurrentProcessId());
// The same among dialogs (class "#32770": message boxes and common dialogs).
HWND FindDialog(const std::string& title, DWORD processId = GetCurrentProcessId());
// The first visible top-level window with a descendant whose text is exactly text
// (a dialog whose caption is fixed but whose prompt is ours).
HWND FindTopLevelWindowShowing(const std::string& text, DWORD processId = GetCurrentProcessId());
// Every descendant of parent, depth first.
std::vector<HWND> Descendants(HWND parent);
// The first descendant of that class (case-insensitive) and text, each when given.
HWND FindDescendant(HWND parent, const char* className, const char* text = nullptr);
// The visible descendants of class "Button" (push buttons, check boxes, ...).
std::vector<HWND> VisibleButtons(HWND parent);

//--- Answering modal dialogs

// Waits on a helper thread for a dialog to appear, then answers it from that
// thread with real messages, which the dialog's own modal loop processes. Start
// it before the call that runs the dialog; Wait() after that call returns.
class DialogAnswerer {
public:
    // find is asked repeatedly until it gives a window or the timeout passes.
    DialogAnswerer(std::function<HWND()> find, std::function<void(HWND)> answer,
                   DWORD timeoutMs = DefaultTimeoutMs);
    // Finds the dialog by its exact title among this process's dialogs.
    DialogAnswerer(const std::string& title, std::function<void(HWND)> answer,
                   DWORD timeoutMs = DefaultTimeoutMs);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Joins the helper thread; true when the dialog was found and answered.
    bool Wait();
    HWND Window() const { return FWindow; }

private:
    std::thread FThread;
    HWND FWindow = nullptr;
};

// WM_SETTEXT, usable on another thread's dialog.
void SetText(HWND control, const std::string& text);
// Presses a button as a click does (BM_CLICK), waiting until it is processed.
void PressButton(HWND button);
// Presses the dialog's button with that control id (IDOK, IDCANCEL, ...).
void PressDialogButton(HWND dialog, int id);

//--- Real input

// Makes the window the foreground window and waits until it is.
bool BringToFront(HWND window, DWORD timeoutMs = DefaultTimeoutMs);
// Presses and releases a key, with a modifier (VK_SHIFT, VK_CONTROL, VK_MENU)
// held around it when one is given.
// One key event for SendInput.
INPUT KeyInput(WORD vk, bool up);
// A mouse event that carries its own screen position: under Wine a pointer event
// of the display that arrives late can move the cursor back after SetCursorPos,
// and an event without a position would then land where the cursor was before.
INPUT MouseInput(POINT screen, DWORD flags);
void PressKey(WORD vk, WORD modifier = 0);
// Types the text key by key into whatever has the keyboard focus.
void TypeText(const std::string& text);
// Clicks the left button count times (2 = a double click) at a point of the
// window's client area.
void ClickAt(HWND window, POINT client, int count = 1);
POINT ClientCenter(HWND window);

}
