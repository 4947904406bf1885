// Stands in for the encoder in the end-to-end tests: appends the command line it
// was started with, and the folder it was started in, to the file named by
// FAKE_FFMPEG_LOG, so that a test can check what the conversion script ran. While
// a file named like the log with ".hold" added exists, it waits before it ends, so
// that a test can keep a conversion running.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main()
{
    const char* logPath = getenv("FAKE_FFMPEG_LOG");
    if (!logPath)
        return 2;
    FILE* log = fopen(logPath, "ab");
    if (!log)
        return 3;
    char cwd[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof cwd, cwd);
    fprintf(log, "%s\r\ncwd=%s\r\n", GetCommandLineA(), length && length < sizeof cwd ? cwd : "");
    fclose(log);
    const std::string hold = std::string(logPath) + ".hold";
    while (GetFileAttributesA(hold.c_str()) != INVALID_FILE_ATTRIBUTES)
        Sleep(20);
    return 0;
}
