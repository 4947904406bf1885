// Stands in for the encoder in the end-to-end tests: appends the command line it was
// started with and the folder it was started in to the file named by FAKE_FFMPEG_LOG.
// While a file named like the log with ".hold" added exists, it waits before it
// ends, so that a test can keep a conversion running.
// Given "-i <file>" alone it answers as the encoder does, unlogged and held by
// <file>.hold: on its error output the "Duration: ..." written in the file, if any.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "-i") {
        char text[4096] = "";
        FILE* video = fopen(argv[2], "rb");
        text[video ? fread(text, 1, sizeof text - 1, video) : 0] = 0;
        if (video)
            fclose(video);
        while (GetFileAttributesA((argv[2] + std::string(".hold")).c_str()) != INVALID_FILE_ATTRIBUTES)
            Sleep(20);
        fprintf(stderr, "ffmpeg version stand-in\nInput #0, avi, from '%s':\n", argv[2]);
        if (const char* length = strstr(text, "Duration: "))
            fprintf(stderr, "  %.*s, start: 0.000000, bitrate: 1000 kb/s\n", (int)strcspn(length, "\r\n"), length);
        return 1;
    }
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
