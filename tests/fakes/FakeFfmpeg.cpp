// Stands in for the encoder in the end-to-end tests: appends the command line it was
// started with and the folder it was started in to the file named by FAKE_FFMPEG_LOG.
// An input whose path holds "held" waits while the log's name with ".hold" added is a
// file; "fails with <code>" fails every run, "first pass fails" the first: it says so,
// ends with the code (1) and writes nothing. Other runs write their output file.
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
