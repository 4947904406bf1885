#include "job/Conversion.h"

#include "job/JobSettings.h"

#include <cstdlib>
#include <cstring>

const char RecordName[] = "convert.log";

void AppendProgress(TText& text, int k, int count)
{
    text += '[';
    AppendInteger(text, k);
    text += '/';
    AppendInteger(text, count);
    text += "] ";
}

// Inputs first, so that they are the array WriteScript takes.
TConversion::TConversion(int count, const TText& outputFolder)
    : Count(count), OutputFolder(outputFolder), Inputs(new TText[2 * count]), Videos(Inputs + count),
      Readable(false), ReachedEnd(false), Started(1), Codes(new int[count]())
{
}

TConversion::~TConversion()
{
    delete[] Codes;
    delete[] Inputs;
}

void TConversion::ReadRecord(TJobPlatform& platform)
{
    // The record only grows while the script runs: a code read before is read again.
    ReachedEnd = false;
    Started = 1;
    TText text;
    Readable = platform.ReadWhole(OutputFolder + RecordName, text);
    // cmd.exe ends each line with CR LF. Each line is ended in place, so that no
    // number is read across its end; the text's own terminator ends an unfinished
    // last line, which does not count.
    for (char *line = text.Data(), *end; (end = std::strchr(line, '\n')) != nullptr; line = end + 1) {
        *end = '\0';
        const bool start = std::strncmp(line, "start ", 6) == 0;
        if (std::strcmp(line, "end\r") == 0)
            ReachedEnd = true;
        if (!start && std::strncmp(line, "fail ", 5) != 0)
            continue;
        char* rest;
        const long value = std::strtol(line + (start ? 6 : 5), &rest, 10);
        if (rest[0] != '\r' || rest[1])
            continue;
        if (start && value >= 1 && value <= Count)
            Started = static_cast<int>(value);
        else if (!start && Codes[Started - 1] == 0)
            Codes[Started - 1] = static_cast<int>(value);
    }
}
