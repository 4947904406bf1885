#include "ProgramDriverWin32.h"

#include "DropRequest.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <stdexcept>

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

namespace {

const DWORD AnswerTimeoutMs = 60000;

double Seconds(const FILETIME& time)
{
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
           1e7;
}

} // namespace

void FinishScripts(DWORD parentId, bool end, DWORD timeoutMs)
{
    while (DWORD id = gui::Running("cmd.exe", parentId)) {
        HANDLE script = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        if (end)
            TerminateProcess(script, 1);
        const DWORD ended = WaitForSingleObject(script, timeoutMs);
        CloseHandle(script);
        if (script && ended != WAIT_OBJECT_0)
            throw std::runtime_error("a script did not end");
    }
}

//--- The process

TProgram::~TProgram()
{
    if (FProcess && WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(FProcess, 255);
        WaitForSingleObject(FProcess, AnswerTimeoutMs);
    }
    if (FProcess)
        CloseHandle(FProcess);
}

double TProgram::Launch(const std::string& exe, const std::string& title, const std::function<bool()>& ready)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" + exe + "\"";
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    FProcess = info.hProcess;
    FProcessId = info.dwProcessId;
    WaitFor("the window \"" + title + "\" of " + exe, [&] {
        if (WaitForSingleObject(FProcess, 0) != WAIT_TIMEOUT)
            throw std::runtime_error(exe + " ended before it showed its window");
        FMain = gui::TopLevel(FProcessId, nullptr, title.c_str());
        return FMain && ready();
    });
    return Now() - start;
}

void TProgram::Close()
{
    PostMessageA(FMain, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(FProcess, AnswerTimeoutMs) != WAIT_OBJECT_0)
        throw std::runtime_error("the program did not end when its window was closed");
}

LRESULT TProgram::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, AnswerTimeoutMs, &result))
        throw std::runtime_error("the program did not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

double TProgram::Sync() const
{
    const double sent = Now();
    Send(FMain, WM_NULL);
    return Now() - sent;
}

int TProgram::ListCount() const
{
    return static_cast<int>(Send(Control(FileListId), LB_GETCOUNT));
}

// A message box shows its icon and its text in static controls.
std::string TProgram::MessageShown() const
{
    std::string text;
    if (HWND box = gui::TopLevel(FProcessId, "#32770", "Spindrel"))
        for (HWND child : gui::Descendants(box))
            if (gui::Class(child) == "Static")
                text += gui::Text(child);
    return text;
}

std::string TProgram::AnswerMessage() const
{
    std::string text;
    WaitFor("a message from the program", [&] { return !(text = MessageShown()).empty(); });
    HWND box = gui::TopLevel(FProcessId, "#32770", "Spindrel");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor("the message to close", [&] { return !IsWindow(box) || !IsWindowVisible(box); });
    return text;
}

//--- Acting as the user

double TProgram::ClickInFront(HWND control)
{
    if (IsIconic(FMain))
        ShowWindowAsync(FMain, SW_RESTORE);
    WaitFor("the main window to be restored", [&] { return !IsIconic(FMain); });
    Sync();
    gui::Click(control);
    return Now();
}

// The dialog's file name box is a combo box (cmb13) in the Explorer-style dialog,
// an edit box (edt1) in the older one; the text set in either is what Enter takes.
void TProgram::ChooseInFileDialog(const std::string& path) const
{
    PostMessageA(Control(AddFileButtonId), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    WaitFor("the dialog \"Select a Video File\"",
            [&] { return (dialog = gui::TopLevel(FProcessId, "#32770", "Select a Video File")) != nullptr; });
    HWND nameBox = GetDlgItem(dialog, 0x47C) ? GetDlgItem(dialog, 0x47C) : GetDlgItem(dialog, 0x480);
    Send(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    WaitFor("the dialog to take " + path, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

void TProgram::AddFileByDialog(const std::string& path) const
{
    const int count = ListCount();
    ChooseInFileDialog(path);
    WaitFor(path + " in the list", [&] { return ListCount() == count + 1; });
}

void TProgram::RemoveLastFile() const
{
    HWND list = Control(FileListId);
    const int count = ListCount();
    Send(list, LB_SETSEL, FALSE, -1);
    Send(list, LB_SETSEL, TRUE, count - 1);
    Send(list, LB_SETCARETINDEX, count - 1, FALSE);
    PostMessageA(Control(RemoveButtonId), BM_CLICK, 0, 0);
    WaitFor("the last file to be removed", [&] { return ListCount() == count - 1; });
}

HWND TProgram::DropTarget() const
{
    if (GetWindowLongA(FMain, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
        return FMain;
    for (HWND window : gui::Descendants(FMain))
        if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
            return window;
    return nullptr;
}

double TProgram::DropFiles(const std::vector<std::string>& paths, const std::string& dropHookDll) const
{
    HWND target = DropTarget();
    if (!target)
        throw std::runtime_error("no window of the program accepts dropped files");
    const int count = ListCount();
    std::string block;
    for (const std::string& path : paths)
        block += path + '\0';
    block += '\0';
    HANDLE shared = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       static_cast<DWORD>(block.size()), DROP_REQUEST_BLOCK);
    void* view = shared ? MapViewOfFile(shared, FILE_MAP_WRITE, 0, 0, 0) : nullptr;
    HMODULE dll = LoadLibraryA(dropHookDll.c_str());
    HOOKPROC hook = dll ? reinterpret_cast<HOOKPROC>(GetProcAddress(dll, DROP_HOOK_PROCEDURE)) : nullptr;
    HHOOK hooked = hook ? SetWindowsHookExA(WH_GETMESSAGE, hook, dll, GetWindowThreadProcessId(target, nullptr))
                        : nullptr;
    if (!view || !hooked)
        throw std::runtime_error("cannot hand a drop to the program through " + dropHookDll);
    std::memcpy(view, block.data(), block.size());
    const double dropped = Now();
    PostMessageA(target, RegisterWindowMessageA(DROP_REQUEST_MESSAGE), 0, 0);
    WaitFor(std::to_string(paths.size()) + " dropped files in the list",
            [&] { return ListCount() == count + static_cast<int>(paths.size()); });
    const double seconds = Now() - dropped;
    UnhookWindowsHookEx(hooked);
    FreeLibrary(dll);
    UnmapViewOfFile(view);
    CloseHandle(shared);
    return seconds;
}

//--- What the system reports

TMemorySample TProgram::Memory() const
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(FProcess, &counters, sizeof counters))
        throw std::runtime_error("the system reports no memory figures for the program");
    TMemorySample sample;
    sample.PrivateBytes = static_cast<double>(counters.PagefileUsage);
    sample.WorkingSet = static_cast<double>(counters.WorkingSetSize);
    return sample;
}

double TProgram::ProcessorSeconds() const
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    double seconds = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        HANDLE thread = entry.th32OwnerProcessID == FProcessId
                            ? OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID)
                            : nullptr;
        FILETIME created, ended, kernel, user;
        if (thread && GetThreadTimes(thread, &created, &ended, &kernel, &user))
            seconds += Seconds(kernel) + Seconds(user);
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return seconds;
}

int TProgram::WindowCount() const
{
    int count = 0;
    for (HWND window : gui::Descendants(GetDesktopWindow())) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        count += owner == FProcessId;
    }
    return count;
}

bool TProgram::GuiObjects(DWORD& user, DWORD& gdi, DWORD& error) const
{
    SetLastError(0);
    user = GetGuiResources(FProcess, GR_USEROBJECTS);
    gdi = GetGuiResources(FProcess, GR_GDIOBJECTS);
    error = GetLastError();
    return user != 0 || gdi != 0;
}

void TProgram::WaitForScripts() const
{
    FinishScripts(FProcessId, false, 10 * AnswerTimeoutMs);
}

void TProgram::EndScripts() const
{
    FinishScripts(FProcessId, true, AnswerTimeoutMs);
}
