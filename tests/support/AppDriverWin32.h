// Drives a spindrel.exe process from outside, as a user would: it finds the
// program's windows, reads what they show, and acts on them with real mouse and
// keyboard input, so that the program's own notification paths run. Every wait
// polls a condition against a deadline and throws std::runtime_error naming what
// it waited for when the deadline passes, which fails the running test.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// The deadline of every wait; generous because Wine starts programs slowly.
constexpr DWORD kWaitTimeoutMs = 20000;

// Polls condition until it holds; throws, naming what, when timeoutMs passes.
void WaitUntil(const std::string& what, const std::function<bool()>& condition,
               DWORD timeoutMs = kWaitTimeoutMs);

// What a dialog or message box shows the user.
struct DialogView {
    HWND Window = nullptr;
    std::string Caption;
    std::string Text;                  // the visible static texts, joined by line feeds
    std::vector<std::string> Buttons;  // captions of the visible buttons
};

class AppDriver {
public:
    AppDriver() = default;
    // Ends the process if it still runs, so that no test leaves one behind.
    ~AppDriver();
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    // Starts the program and waits until its main window is shown.
    void Start(const std::string& exePath);
    bool IsRunning() const;
    // Waits for the process to end and answers its exit code.
    DWORD WaitForExit(DWORD timeoutMs = kWaitTimeoutMs);
    void Terminate();
    // Returns once the program's thread has taken a sent message, that is once it
    // has finished the handler it was running and waits in a message loop.
    void Sync() const;

    HWND MainWindow() const { return main_; }
    // The control with this identifier anywhere below the main window.
    HWND Control(int id) const;
    // The window that has the keyboard focus in the program's thread, or null.
    HWND FocusedWindow() const;

    //--- Reading what a window shows
    static std::string ClassName(HWND window);
    std::string Text(HWND window) const;
    // The window's rectangle in its parent's client coordinates.
    static RECT PlaceInParent(HWND window);
    static bool HasVisibleStyle(HWND window);
    int CheckState(HWND checkBox) const;
    std::vector<std::string> ComboItems(HWND combo) const;
    int ComboSelection(HWND combo) const;
    std::vector<std::string> ListItems(HWND list) const;
    std::vector<int> ListSelection(HWND list) const;

    //--- Acting as a user
    // Brings the program's window to the foreground so that it gets the keyboard.
    void Activate(HWND topLevel) const;
    // A left click in the middle of the window, optionally with Ctrl held.
    void Click(HWND window, bool withCtrl = false) const;
    // Key strokes for every character of text, to whatever has the focus.
    void TypeText(const std::string& text) const;
    void PressKey(WORD virtualKey, bool withShift = false) const;
    // Clicks into an edit box or a combo box's edit field and waits for the focus.
    void FocusEdit(HWND edit) const;
    // Opens the combo box's list with its arrow button and clicks item index,
    // scrolling the list with its scroll bar arrows when the item is out of view.
    void PickComboItem(HWND combo, int index) const;
    void ClickListItem(HWND list, int index, bool withCtrl = false) const;
    // Opens the main window's menu bar with F10 and picks the item of its first
    // pop-up at position index with the arrow keys and Enter.
    void ChooseFirstMenuItem(int index) const;

    //--- Dialogs and message boxes of the program
    // Waits for a dialog of the program whose caption is caption.
    DialogView WaitForDialog(const std::string& caption) const;
    // Waits for a dialog of the program that shows text in one of its labels.
    DialogView WaitForDialogShowing(const std::string& text) const;
    // True while any dialog or message box of the program is open.
    bool HasDialog() const;
    // Clicks the dialog's button with this caption and waits for the dialog to close.
    void CloseDialog(const DialogView& dialog, const std::string& buttonCaption) const;
    // In the open-file dialog titled caption: types path into the file-name box
    // and confirms with Enter.
    void ChooseFile(const std::string& caption, const std::string& path) const;
    // In the folder-browse dialog that shows title: walks its folder tree down to
    // path ("C:\dir\sub") and confirms with OK.
    void ChooseFolder(const std::string& title, const std::string& path) const;

private:
    LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    HWND FindDialog(const std::function<bool(const DialogView&)>& matches) const;
    DialogView View(HWND dialog) const;
    std::string TreeItemText(HWND tree, HTREEITEM item) const;
    HTREEITEM TreeChild(HWND tree, HTREEITEM parent, const std::function<bool(const std::string&)>& matches) const;
    void ClickAt(POINT screen, bool withCtrl) const;

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND main_ = nullptr;
    mutable POINT lastClick_ = {-1000, -1000};
    mutable DWORD lastClickTime_ = 0;
};
