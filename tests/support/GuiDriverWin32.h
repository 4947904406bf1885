// Drives real windows as a user does, those of this process or of a program under
// test: finds them, reads what they show, types and clicks with real input
// (SendInput) and answers dialogs found by their title. Every wait has a deadline;
// none sleeps a fixed time.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

// Pumps this thread's messages until done() answers true, at most 20 s (Wine starts
// programs and dialogs slowly); false on timeout. Require throws then, naming what.
bool WaitUntil(const std::function<bool()>& done);
void Require(const std::string& what, const std::function<bool()>& done);
// Pumps until the queue has stayed empty through a round trip of the window system:
// after real input, before asserting that nothing more happened.
void Settle();

std::string Text(HWND window);
std::string Class(HWND window);
std::vector<std::string> Items(HWND listOrComboBox);
std::vector<HWND> Descendants(HWND parent);
// The first descendant of that class (in any case) and text, each when given.
HWND Child(HWND parent, const char* className, const char* text = nullptr);
// The first visible top-level window of the process of that class and title, each
// when given, with a descendant showing text, when given.
HWND TopLevel(DWORD process, const char* className, const char* title = nullptr, const char* showing = nullptr);
// True when box, or the edit field of the combo box box, has the keyboard focus.
bool HasFocus(HWND box);

void Key(WORD vk, WORD modifier = 0);
void Type(const std::string& text);
// Brings the window's top-level window to the front and clicks count times at a
// point of its client area (by default its centre), with Ctrl held when asked.
void Click(HWND window, bool ctrl = false, int count = 1, POINT at = {-1, -1});
// Clicks into an edit box (or a combo box's edit field), selects what it holds and
// types text over it.
void TypeOver(HWND box, const std::string& text);

// A dialog or message box (class "#32770"): its visible static texts, joined by line
// feeds, and the captions of its visible buttons.
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
// Walks the folder dialog's tree from "My Computer" down to path ("C:\dir"; "" stays
// at "My Computer"), selects it and presses OK.
void ChooseFolder(const Dialog& dialog, const std::string& path);

}
