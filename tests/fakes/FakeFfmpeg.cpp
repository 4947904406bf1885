// Stands in for the encoder in the end-to-end tests: appends the command line it was
// started with and the folder it was started in to the file named by FAKE_FFMPEG_LOG.
// An input whose path holds "held" waits while the log's name with ".hold" added is a
// file; "fails with <code>" fails every run, "first pass fails" the first: it says so,
// ends with the code (1) and writes nothing. Other runs write their output file.
// Given "-i <file>" alone it answers as the encoder does, unlogged and held likewise:
// on its error output the "Duration: ..." written in the file, if any.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    const char* logPath = getenv("FAKE_FFMPEG_LOG");
    if (argc == 3 && std::string(argv[1]) == "-i") {
        char text[4096] = "";
        FILE* video = fopen(argv[2], "rb");
        text[video ? fread(text, 1, sizeof text - 1, video) : 0] = 0;
        if (video)
            fclose(video);
        while (logPath && strstr(argv[2], "held") &&
               GetFileAttributesA((std::string(logPath) + ".hold").c_str()) != INVALID_FILE_ATTRIBUTES)
            Sleep(20);
        fprintf(stderr, "ffmpeg version stand-in\nInput #0, avi, from '%s':\n", argv[2]);
        if (const char* length = strstr(text, "Duration: "))
            fprintf(stderr, "  %.*s, start: 0.000000, bitrate: 1000 kb/s\n", (int)strcspn(length, "\r\n"), length);
        return 1;
    }
    FILE* log = logPath ? fopen(logPath, "ab") : nullptr;
    if (!log)
        return 2;
    const std::string line = GetCommandLineA();
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    fprintf(log, "%s\r\ncwd=%s\r\n", line.c_str(), cwd);
    fclose(log);
    const size_t input = line.find(" -i \"") + 5, inputEnd = line.find('"', input), fails = line.find("fails with ");
    while (line.find("held") < inputEnd && GetFileAttributesA((std::string(logPath) + ".hold").c_str()) != INVALID_FILE_ATTRIBUTES)
        Sleep(20);
    if (fails < inputEnd || (line.find("first pass fails") < inputEnd && line.find(" -pass 1 ") != std::string::npos)) {
        fprintf(stderr, "%s: Invalid data found when processing input\n", line.substr(input, inputEnd - input).c_str());
        return fails < inputEnd ? atoi(line.c_str() + fails + 11) : 1;
    }
    const size_t end = line.rfind('"'), start = line.rfind('"', end - 1) + 1;
    if (FILE* video = fopen(line.substr(start, end - start).c_str(), "wb")) {
        fputs("video", video);
        fclose(video);
    }
}
