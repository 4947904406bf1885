#include "job/JobPlatform.h"

#include "runtime/SystemLibraries.h"

namespace {

// The runtime's code for a full disk; Windows reports it under two codes of its own.
const int DiskFullCode = 101;

int FailureCode()
{
    const DWORD error = GetLastError();
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
        return DiskFullCode;
    return static_cast<int>(error);
}

// The whole file at path, or (whole false) a first piece of it, in content; false
// when it cannot be read. Shared every way: the script may append to the file
// while it is read.
bool Read(const TText& path, TText& content, bool whole)
{
    HANDLE file = CreateFileA(path.CStr(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    content.Clear();
    char piece[1024];
    DWORD got;
    BOOL read;
    while ((read = ReadFile(file, piece, sizeof piece, &got, nullptr)) && got) {
        content.Append(piece, static_cast<int>(got));
        if (!whole)
            break;
    }
    CloseHandle(file);
    return read;
}

class TWin32JobPlatform final : public TJobPlatform {
public:
    bool FileExists(const TText& path) override
    {
        const DWORD attributes = GetFileAttributesA(path.CStr());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool IsNonEmptyFile(const TText& path) override
    {
        TText start;
        return Read(path, start, false) && !start.IsEmpty();
    }

    bool ReadWhole(const TText& path, TText& content) override { return Read(path, content, true); }

    // Windows refuses to replace a read-only file, but Wine running as root lets
    // the open through; the attribute is checked first so that a read-only
    // script is never overwritten on either.
    int CreateOutput(const TText& path) override
    {
        const DWORD attributes = GetFileAttributesA(path.CStr());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return ERROR_ACCESS_DENIED;
        FFile = CreateFileA(path.CStr(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        return FFile == INVALID_HANDLE_VALUE ? FailureCode() : 0;
    }

    int WriteOutput(const char* data, int length) override
    {
        DWORD written = 0;
        if (!WriteFile(FFile, data, static_cast<DWORD>(length), &written, nullptr))
            return FailureCode();
        // A short write means the disk filled up.
        return written == static_cast<DWORD>(length) ? 0 : DiskFullCode;
    }

    int CloseOutput() override
    {
        const BOOL closed = CloseHandle(FFile);
        FFile = INVALID_HANDLE_VALUE;
        return closed ? 0 : FailureCode();
    }

    int RemoveFile(const TText& path) override
    {
        if (DeleteFileA(path.CStr()))
            return 0;
        const int code = FailureCode();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? 0 : code;
    }

    TText ErrorText(int code) override
    {
        char text[512];
        const DWORD length =
            FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
        return TText(text, static_cast<int>(length));
    }

    bool ShellOpen(const TText& target) override
    {
        const TShellFunctions* shell = ShellFunctions();
        return shell && reinterpret_cast<INT_PTR>(shell->ShellExecuteA(
                            nullptr, nullptr, target.CStr(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
    }

    // The shell's default action as ShellOpen takes it, without the shell's own
    // error box: the caller reports a refusal. For a batch file the process given
    // back is the command interpreter that runs it; other files may give none.
    bool ShellRun(const TText& path) override
    {
        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpFile = path.CStr();
        info.nShow = SW_SHOWNORMAL;
        const TShellFunctions* shell = ShellFunctions();
        if (!shell || !shell->ShellExecuteExA(&info))
            return false;
        if (FShellRun)
            CloseHandle(FShellRun);
        FShellRun = info.hProcess;
        return true;
    }

    bool IsShellRunActive() override
    {
        return FShellRun && WaitForSingleObject(FShellRun, 0) == WAIT_TIMEOUT;
    }

private:
    HANDLE FFile = INVALID_HANDLE_VALUE;
    // Owned: the process of the last ShellRun, or null.
    HANDLE FShellRun = nullptr;
};

} // namespace

TJobPlatform& SystemJobPlatform()
{
    static TWin32JobPlatform platform;
    return platform;
}
