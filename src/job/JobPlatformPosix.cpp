// The native platform, for running the job's tests off Windows. Failures are
// reported under the Windows codes, so callers and tests see the same codes on
// every system.
#include "job/JobPlatform.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const int PathNotFoundCode = 3;
const int TooManyOpenFilesCode = 4;
const int AccessDeniedCode = 5;
const int DiskFullCode = 101;

int FailureCode()
{
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        // Only a missing folder makes creating a file fail this way.
        return PathNotFoundCode;
    case EMFILE:
    case ENFILE:
        return TooManyOpenFilesCode;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return AccessDeniedCode;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return DiskFullCode;
    default:
        return errno;
    }
}

class TPosixJobPlatform final : public TJobPlatform {
public:
    bool FileExists(const TText& path) override
    {
        struct stat info;
        return stat(path.CStr(), &info) == 0 && !S_ISDIR(info.st_mode);
    }

    bool IsNonEmptyFile(const TText& path) override
    {
        struct stat info;
        return stat(path.CStr(), &info) == 0 && !S_ISDIR(info.st_mode) && info.st_size > 0;
    }

    bool ReadWhole(const TText& path, TText& content) override
    {
        const int file = open(path.CStr(), O_RDONLY | O_CLOEXEC);
        if (file < 0)
            return false;
        content.Clear();
        char buffer[4096];
        ssize_t got;
        while ((got = read(file, buffer, sizeof buffer)) > 0)
            content.Append(buffer, static_cast<int>(got));
        close(file);
        return got == 0;
    }

    int CreateOutput(const TText& path) override
    {
        FFile = open(path.CStr(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        return FFile < 0 ? FailureCode() : 0;
    }

    int WriteOutput(const char* data, int length) override
    {
        const ssize_t written = write(FFile, data, static_cast<size_t>(length));
        if (written < 0)
            return FailureCode();
        // A short write means the disk filled up.
        return written == length ? 0 : DiskFullCode;
    }

    int CloseOutput() override
    {
        const int result = close(FFile);
        FFile = -1;
        return result == 0 ? 0 : FailureCode();
    }

    int RemoveFile(const TText& path) override
    {
        return unlink(path.CStr()) == 0 || errno == ENOENT || errno == ENOTDIR ? 0 : FailureCode();
    }

    // The codes are Windows codes, which this system has no words for.
    TText ErrorText(int) override { return TText(); }

    bool ShellOpen(const TText& target) override
    {
        char program[] = "xdg-open";
        char* argv[] = {program, const_cast<char*>(target.CStr()), nullptr};
        pid_t child;
        if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0)
            return false;
        int status;
        while (waitpid(child, &status, 0) < 0)
            if (errno != EINTR)
                return false;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // xdg-open hands the file on and ends; it gives back no process to watch.
    bool ShellRun(const TText& path) override { return ShellOpen(path); }
    bool IsShellRunActive() override { return false; }

private:
    int FFile = -1;
};

} // namespace

TJobPlatform& SystemJobPlatform()
{
    static TPosixJobPlatform platform;
    return platform;
}
