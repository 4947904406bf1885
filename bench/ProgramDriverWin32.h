// Runs one Windows program for the program benchmarks and acts on it from
// outside, as its user does, through the window driver of the end-to-end tests
// (support/GuiDriverWin32.h): it starts the program and times how long its window
// takes to be ready, reads its controls, clicks, answers its open-file dialog,
// drops files on it, and samples what the system reports about it (memory, processor
// time, windows, the scripts it launched). Every wait has a deadline; one that passes
// throws std::runtime_error naming what was awaited, which ends the benchmark run.
#pragma once

#include "support/GuiDriverWin32.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Seconds on a steady clock.
double Now();

// The tests' wait with a minute's deadline, looking every millisecond, so that a time
// measured up to a condition is that close to it.
inline void WaitFor(const std::string& what, const std::function<bool()>& condition, DWORD timeoutMs = 60000)
{
    gui::Require(what, condition, timeoutMs, 1);
}

// What the system reports about a process's memory, in bytes. The private bytes
// are PagefileUsage: the private commit on Windows, and under Wine, which does not
// report the commit of another process, its resident anonymous memory.
struct TMemorySample {
    double PrivateBytes = 0;
    double WorkingSet = 0;
};

// The main window's controls that the benchmarks use, by the identifiers the
// program gives them in creation order.
enum TControlId {
    FileListId = 0x8007,
    AddFileButtonId = 0x8008,
    RemoveButtonId = 0x8009,
    StartButtonId = 0x8014,
    Dvd43LabelId = 0x8017,
    Dvd85LabelId = 0x8018,
    LengthsLabelId = 0x801A,
};

class TProgram {
public:
    TProgram() = default;
    // Ends the process if it still runs.
    ~TProgram();

    // Starts exe and waits for its visible top-level window titled title, and then
    // until ready() holds; answers the seconds from just before the process was
    // created until then.
    double Launch(const std::string& exe, const std::string& title, const std::function<bool()>& ready);
    // Closes the main window as the user does and waits for the process to end.
    void Close();

    HWND MainWindow() const { return FMain; }
    // The control with this identifier anywhere below the main window.
    HWND Control(int id) const { return gui::Control(FMain, id); }
    // A message sent to a window of the program; throws when it goes unanswered.
    LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Returns once the program has handled everything sent to it before; answers
    // the seconds that took.
    double Sync() const;
    int ListCount() const;
    // The text of the message box the program shows, or "" while it shows none.
    std::string MessageShown() const;
    // Waits for the program's message box, closes it with OK as the user does and
    // waits until it is gone; answers its text.
    std::string AnswerMessage() const;

    //--- Acting as the user
    // Restores the main window, brings it to the front and clicks control; answers
    // the moment the click was sent.
    double ClickInFront(HWND control);
    // "Add Video File" (a control of that identifier), then path typed into the
    // open-file dialog and confirmed; returns once the dialog is gone.
    void ChooseInFileDialog(const std::string& path) const;
    // The same, and then waits until the list holds the file.
    void AddFileByDialog(const std::string& path) const;
    // Selects the last file in the list and presses "Remove".
    void RemoveLastFile() const;
    // True when some window of the program accepts dropped files.
    bool AcceptsDrops() const { return DropTarget() != nullptr; }
    // Drops the files, none of them listed yet, on the window that accepts them,
    // through the hook in dropHookDll; answers the seconds from the drop until the
    // list holds them all.
    double DropFiles(const std::vector<std::string>& paths, const std::string& dropHookDll) const;

    //--- What the system reports
    TMemorySample Memory() const;
    // The processor time the program's threads have used, in seconds. Wine reports
    // none for another process (GetProcessTimes gives 0), but it reads each thread's
    // from the system; a thread that has ended is not counted.
    double ProcessorSeconds() const;
    // The program's windows, top-level and child, hidden ones included.
    int WindowCount() const;
    // GetGuiResources for GR_USEROBJECTS and GR_GDIOBJECTS; false, with the error
    // code in error, where the system does not report them.
    bool GuiObjects(DWORD& user, DWORD& gdi, DWORD& error) const;
    // Waits until every command interpreter the program started has ended.
    void WaitForScripts() const;
    // Ends every command interpreter the program started.
    void EndScripts() const;

private:
    // One process, one owner.
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;
    HWND DropTarget() const;

    HANDLE FProcess = nullptr;
    DWORD FProcessId = 0;
    HWND FMain = nullptr;
};

// Waits until every command interpreter that the process started has ended, each
// for at most timeoutMs, having ended them first when end is set; throws when one
// outlives its wait.
void FinishScripts(DWORD parentId, bool end, DWORD timeoutMs);
