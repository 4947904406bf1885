#include "job/EncoderLength.h"

#include <cstring>

namespace {

// Reads the digits at p, keeping the first keep of them in value; answers how many
// there were.
int ReadDigits(const char*& p, int keep, int& value)
{
    int count = 0;
    for (value = 0; *p >= '0' && *p <= '9'; ++p, ++count)
        if (count < keep)
            value = value * 10 + (*p - '0');
    return count;
}

// The length the line at p tells, LengthUnknown for "Duration: N/A", LengthPending
// for any other line. Up to 99,999 hours, which keeps the seconds within 32 bits;
// the fraction may have any number of digits, of which milliseconds are kept.
long long LengthOnLine(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    if (strncmp(p, "Duration: ", 10) != 0)
        return LengthPending;
    p += 10;
    if (p[0] == 'N' && p[1] == '/' && p[2] == 'A')
        return LengthUnknown;
    int hours, minutes, seconds, milliseconds;
    const int hourDigits = ReadDigits(p, 5, hours);
    if (hourDigits < 1 || hourDigits > 5 || *p++ != ':' || ReadDigits(p, 2, minutes) != 2 ||
        *p++ != ':' || ReadDigits(p, 2, seconds) != 2 || *p++ != '.')
        return LengthPending;
    int fractionDigits = ReadDigits(p, 3, milliseconds);
    if (fractionDigits == 0)
        return LengthPending;
    for (; fractionDigits < 3; ++fractionDigits)
        milliseconds *= 10;
    return static_cast<long long>((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds;
}

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

}

long long LengthInOutput(const char* output)
{
    for (const char* line = output; *line;) {
        const long long length = LengthOnLine(line);
        if (length != LengthPending)
            return length;
        // To the next line; the empty ones between CR and LF tell nothing.
        while (*line && !IsLineEnd(*line++)) {
        }
    }
    return LengthUnknown;
}
