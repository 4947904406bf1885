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

void WaitFor(const std::string& what, const std::function<bool()>& condition, DWORD timeoutMs)
{
    const double deadline = Now() + timeoutMs / 1000.0;
    while (!condition()) {
        if (Now() > deadline)
            throw std::runtime_error("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what);
        Sleep(1);
    }
}

namespace {

const DWORD AnswerTimeoutMs = 60000;

struct TWindowSearch {
    DWORD ProcessId;
    std::function<bool(HWND)> Visit;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM search)
{
    const TWindowSearch& s = *reinterpret_cast<TWindowSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner != s.ProcessId || s.Visit(window);
}

// Calls visit for each top-level window of the process until it answers false.
void ForEachTopLevel(DWORD processId, std::function<bool(HWND)> visit)
{
    TWindowSearch search = {processId, std::move(visit)};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
}

BOOL CALLBACK VisitChild(HWND window, LPARAM visit)
{
    return (*reinterpret_cast<std::function<bool(HWND)>*>(visit))(window);
}

// Calls visit for each descendant of parent until it answers false.
void ForEachDescendant(HWND parent, std::function<bool(HWND)> visit)
{
    EnumChildWindows(parent, VisitChild, reinterpret_cast<LPARAM>(&visit));
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND VisibleTopLevel(DWORD processId, const std::string& className, const std::string& title)
{
    HWND found = nullptr;
    ForEachTopLevel(processId, [&](HWND window) {
        char text[128] = "";
        GetWindowTextA(window, text, sizeof text);
        if (IsWindowVisible(window) && title == text && (className.empty() || ClassOf(window) == className))
            found = window;
        return found == nullptr;
    });
    return found;
}

} // namespace

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
        FMain = VisibleTopLevel(FProcessId, "", title);
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

HWND TProgram::Control(int id) const
{
    HWND found = nullptr;
    ForEachDescendant(FMain, [&](HWND window) {
        if (GetDlgCtrlID(window) == id)
            found = window;
        return found == nullptr;
    });
    if (!found)
        throw std::runtime_error("the main window has no control " + std::to_string(id));
    return found;
}

LRESULT TProgram::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, AnswerTimeoutMs, &result))
        throw std::runtime_error("the program did not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

std::string TProgram::Text(HWND window) const
{
    char text[512] = "";
    const LRESULT length = Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return std::string(text, static_cast<size_t>(length));
}

int TProgram::ListCount() const
{
    return static_cast<int>(Send(Control(FileListId), LB_GETCOUNT));
}

// A message box's text is its static control of identifier 0xFFFF.
std::string TProgram::MessageShown() const
{
    HWND box = VisibleTopLevel(FProcessId, "#32770", "Spindrel");
    return box ? Text(GetDlgItem(box, 0xFFFF)) : std::string();
}

std::string TProgram::AnswerMessage() const
{
    std::string text;
    WaitFor("a message from the program", [&] { return !(text = MessageShown()).empty(); });
    PostMessageA(VisibleTopLevel(FProcessId, "#32770", "Spindrel"), WM_COMMAND, IDOK, 0);
    WaitFor("the message to close", [&] { return MessageShown().empty(); });
    return text;
}

//--- Acting as the user

double TProgram::ClickInFront(HWND control)
{
    if (IsIconic(FMain))
        ShowWindowAsync(FMain, SW_RESTORE);
    SetForegroundWindow(FMain);
    WaitFor("the main window to be restored in front",
            [&] { return !IsIconic(FMain) && GetForegroundWindow() == FMain; });
    Sync();
    RECT place;
    GetWindowRect(control, &place);
    const LONG x = (place.left + place.right) / 2 + (++FClicks % 2 ? -8 : 8), y = (place.top + place.bottom) / 2;
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    const DWORD buttons[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = (x * 65536 + width - 1) / width;
        inputs[i].mi.dy = (y * 65536 + height - 1) / height;
        inputs[i].mi.dwFlags = buttons[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    const double clicked = Now();
    if (SendInput(3, inputs, sizeof(INPUT)) != 3)
        throw std::runtime_error("the click could not be sent");
    return clicked;
}

// The dialog's file name box is a combo box (cmb13) in the Explorer-style dialog,
// an edit box (edt1) in the older one; the text set in either is what Enter takes.
void TProgram::AddFileByDialog(const std::string& path) const
{
    const int count = ListCount();
    PostMessageA(Control(AddFileButtonId), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    WaitFor("the dialog \"Select a Video File\"",
            [&] { return (dialog = VisibleTopLevel(FProcessId, "#32770", "Select a Video File")) != nullptr; });
    HWND nameBox = GetDlgItem(dialog, 0x47C) ? GetDlgItem(dialog, 0x47C) : GetDlgItem(dialog, 0x480);
    Send(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    WaitFor("the dialog to take " + path, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
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
    HWND found = nullptr;
    ForEachDescendant(FMain, [&](HWND window) {
        if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
            found = window;
        return found == nullptr;
    });
    return found;
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

int TProgram::WindowCount() const
{
    int count = 0;
    ForEachTopLevel(FProcessId, [&](HWND window) {
        ++count;
        ForEachDescendant(window, [&](HWND) { return ++count > 0; });
        return true;
    });
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
    for (HANDLE script : ScriptProcesses(FProcessId)) {
        const DWORD ended = WaitForSingleObject(script, 10 * AnswerTimeoutMs);
        CloseHandle(script);
        if (ended != WAIT_OBJECT_0)
            throw std::runtime_error("a script the program launched did not end");
    }
}

void TProgram::EndScripts() const
{
    for (HANDLE script : ScriptProcesses(FProcessId)) {
        TerminateProcess(script, 1);
        WaitForSingleObject(script, AnswerTimeoutMs);
        CloseHandle(script);
    }
}

std::vector<HANDLE> ScriptProcesses(DWORD parentId)
{
    std::vector<HANDLE> scripts;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID != parentId || lstrcmpiA(entry.szExeFile, "cmd.exe") != 0)
            continue;
        if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, entry.th32ProcessID))
            scripts.push_back(process);
    }
    CloseHandle(snapshot);
    return scripts;
}
