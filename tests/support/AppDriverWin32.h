// Drives a spindrel.exe process from outside, as a user would: it finds the
// program's windows, reads what they show, and acts on them with real mouse and
// keyboard input (or, where Wine offers no other way, with the very messages a
// user's action produces), so that the program's own notification paths run.
// Every wait has a deadline; one that passes throws std::runtime_error naming
// what was awaited, which fails the running test at that point.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// Generous, as Wine starts programs and dialogs slowly.
const DWORD AppTimeoutMs = 20000;

// Waits for condition, pumping this thread's messages; throws, naming what, on timeout.
void Require(const std::string& what, const std::function<bool()>& condition, DWORD timeoutMs = AppTimeoutMs);

// What a dialog or message box shows the user.
struct DialogView {
    HWND Window = nullptr;
    std::string Caption;
    std::string Text;                  // its visible static texts, joined by line feeds
    std::vector<std::string> Buttons;  // captions of its visible buttons
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
    // Waits for the process to end and answers its exit code.
    DWORD WaitForExit();
    // Ends the process if it still runs (a test that failed may leave it in a dialog).
    void Terminate();
    // Waits until every process the program started has ended (the command
    // interpreter of a script it launched).
    void WaitForItsProcesses() const;
    // Returns once the program's thread has answered a sent message: the handler it
    // was running has finished and it waits in a message loop again.
    void Sync() const;

    HWND MainWindow() const { return FMain; }
    // The control with this identifier anywhere below the main window.
    HWND Control(int id) const;
    // The window that has the keyboard focus in the program's thread, or null.
    HWND FocusedWindow() const;

    //--- Reading what the program shows
    std::string Text(HWND window) const;
    // The window's rectangle in its parent's client coordinates.
    static RECT PlaceInParent(HWND window);
    int CheckState(HWND checkBox) const;
    std::vector<std::string> ComboItems(HWND combo) const;
    int ComboSelection(HWND combo) const;
    std::vector<std::string> ListItems(HWND list) const;
    std::vector<int> ListSelection(HWND list) const;

    //--- Acting as a user
    // A left click in the middle of the window, optionally with Ctrl held, after
    // bringing its top-level window to the foreground.
    void Click(HWND window, bool withCtrl = false) const;
    // Clicks into an edit box (or a combo box's edit field) and waits for the focus.
    void FocusEdit(HWND edit) const;
    // Clicks into an edit box (or a combo box's edit field), selects what it holds
    // and types text over it, key by key; waits until the box shows text.
    void TypeOver(HWND edit, const std::string& text) const;
    // Opens the combo box's list with its arrow button and clicks item index.
    void PickComboItem(HWND combo, int index) const;
    // Clicks into the combo box and moves its selection to item index with the arrow keys.
    void StepComboTo(HWND combo, int index) const;
    void ClickListItem(HWND list, int index, bool withCtrl = false) const;
    // Drops the files onto the main window as a file manager does (WM_DROPFILES).
    void DropFiles(const std::vector<std::string>& paths) const;
    // Opens the menu bar with F10 and chooses the item at position index of the
    // first pop-up menu with the arrow keys and Enter.
    void ChooseFirstMenuItem(int index) const;

    //--- Dialogs and message boxes of the program
    DialogView WaitForDialog(const std::string& caption) const;
    // Waits for a dialog that shows text in one of its controls (the folder
    // dialog's caption is Windows' own; the program's title is a label in it).
    DialogView WaitForDialogShowing(const std::string& text) const;
    // True while a dialog or message box of the program is open.
    bool HasDialog() const;
    // Clicks the dialog's button with that caption and waits for the dialog to close.
    void CloseDialog(const DialogView& dialog, const std::string& buttonCaption) const;
    // In the open-file dialog with that caption: types path into the file-name
    // box and confirms with Enter.
    void ChooseFile(const std::string& caption, const std::string& path) const;
    // In the folder dialog that shows title: walks the folder tree from
    // "My Computer" down to path ("C:\dir\sub"), selects it and presses OK.
    void ChooseFolder(const std::string& title, const std::string& path) const;

private:
    bool IsRunning() const;
    LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    std::vector<std::string> Items(HWND window, UINT countMessage, UINT lengthMessage, UINT textMessage) const;
    void ClickAt(HWND window, POINT client, bool withCtrl) const;
    DialogView View(HWND dialog) const;
    std::string OpenDialogs() const;
    // The child of parent in the folder tree whose text satisfies matches,
    // expanding parent first as the Right arrow key does.
    HTREEITEM TreeChild(HWND tree, HTREEITEM parent, const std::string& what,
                        const std::function<bool(const std::string&)>& matches) const;
    std::string TreeItemText(HWND tree, HTREEITEM item) const;

    HANDLE FProcess = nullptr;
    DWORD FProcessId = 0;
    DWORD FThreadId = 0;
    HWND FMain = nullptr;
    // The last click, so that two clicks on one spot never merge into a double click.
    mutable POINT FLastClick = {-1000, -1000};
    mutable DWORD FLastClickTime = 0;
};
