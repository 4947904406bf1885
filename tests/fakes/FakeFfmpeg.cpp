// Stands in for the encoder in the end-to-end tests: appends the command line it was
// started with and the folder it was started in to the file named by FAKE_FFMPEG_LOG.
// While a file named like the log with ".hold" added exists, it waits before it
// ends, so that a test can keep a conversion running.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main()
{
    const char* logPath = getenv("FAKE_FFMPEG_LOG");
    FILE* log = logPath ? fopen(logPath, "ab") : nullptr;
    if (!log)
        return 2;
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    fprintf(log, "%s\r\ncwd=%s\r\n", GetCommandLineA(), cwd);
    fclose(log);
    while (GetFileAttributesA((std::string(logPath) + ".hold").c_str()) != INVALID_FILE_ATTRIBUTES)
        Sleep(20);
}
