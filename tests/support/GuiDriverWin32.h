// Drives real windows as a user does, for the end-to-end tests and the program
// benchmarks: finds them, reads what they show, types and clicks with real input
// (SendInput) and answers dialogs found by their title. Every wait has a deadline,
// 20 s unless given (Wine starts programs and dialogs slowly); none sleeps a fixed time.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

// Pumps this thread's messages until done() holds, asked every pollMs; throws, naming what, on timeout.
void Require(const std::string& what, const std::function<bool()>& done, DWORD timeoutMs = 20000, DWORD pollMs = 10);

std::string Text(HWND window);
std::string Class(HWND window);
std::vector<std::string> Items(HWND listOrComboBox);
std::vector<HWND> Descendants(HWND parent);
// The descendant of window with that control identifier; throws when there is none.
HWND Control(HWND window, int id);
// The first descendant, or visible top-level window of the process (any when 0), of
// that class and text, each when given; the top-level one showing text in a descendant.
HWND Child(HWND parent, const char* className, const char* text = nullptr);
HWND TopLevel(DWORD process, const char* className, const char* title = nullptr, const char* showing = nullptr);
// A running process of that program file, started by parent, in a job, if asked; or 0.
DWORD Running(const char* exe, DWORD parent = 0, bool inJob = false);
// True when box, or the edit field of the combo box box, has the keyboard focus.
bool HasFocus(HWND box);

void Key(WORD vk, WORD modifier = 0);
// Brings the window's top-level window to the front and clicks count times at a
// point of its client area (by default its centre), with Ctrl held when asked.
void Click(HWND window, bool ctrl = false, int count = 1, POINT at = {-1, -1});
// Clicks into an edit box or a combo box, selects what it shows and types text.
void TypeOver(HWND box, const std::string& text);

// A dialog or message box: its visible texts, joined by line feeds, and buttons.
struct Dialog {
    HWND Window;
    std::string Text;
    std::vector<std::string> Buttons;
};
Dialog WaitForDialog(DWORD process, const char* title, const char* showing = nullptr);
// Clicks the dialog's button with that caption and waits until the dialog is gone.
void Press(const Dialog& dialog, const std::string& caption);
// Types path into the open-file dialog's name box and confirms it with Enter.
void ChooseFile(const Dialog& dialog, const std::string& path);
// Selects path in the folder dialog (a folder, or a shell name such as "::{CLSID}")
// and presses OK.
void ChooseFolder(const Dialog& dialog, const std::string& path);

}
