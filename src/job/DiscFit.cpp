#include "job/DiscFit.h"

#include "job/Estimate.h"

#include <climits>

namespace {

const int LowestBitrate = 100;
const int HighestBitrate = 9000;

// The highest rate whose estimate is at least totalSeconds. The labels show the
// estimate capacity × 8000 / rate truncated to whole seconds, which is at least a
// whole T exactly when rate is at most capacity × 8000 / T, truncated.
int HighestRate(int capacityMB, int totalSeconds)
{
    return totalSeconds > 0 ? capacityMB * KilobitsPerMegabyte / totalSeconds : INT_MAX;
}

// Appends pattern, each '#' in it replaced by the next of numbers and each '~' by an
// "s" unless the number before it is 1.
void AddFormatted(TText& text, const char* pattern, const int* numbers)
{
    int last = 0;
    for (; *pattern; ++pattern) {
        if (*pattern == '#')
            text += IntegerToText(last = *numbers++);
        else if (*pattern != '~')
            text += *pattern;
        else if (last != 1)
            text += 's';
    }
}

void AddFit(TText& text, int capacityMB, int totalSeconds)
{
    const int bitrate = FittingBitrate(capacityMB, totalSeconds);
    if (bitrate)
        AddFormatted(text, " up to # kBits", &bitrate);
    else
        text += " too long";
}

}

int FittingBitrate(int capacityMB, int totalSeconds)
{
    const int bitrate = HighestRate(capacityMB, totalSeconds) - AudioAllowance;
    if (bitrate < LowestBitrate)
        return 0;
    return bitrate > HighestBitrate ? HighestBitrate : bitrate;
}

// In floating point: a 64-bit division would cost the program its own routine. A sum
// beyond 68 years stays there; it fits on no disc anyway.
int TotalSeconds(const TListLengths& lengths)
{
    if (lengths.KnownMs >= INT_MAX * 1000LL)
        return INT_MAX;
    return static_cast<int>(lengths.KnownMs / 1000.0);
}

bool EstimateHolds(int capacityMB, int rate, int totalSeconds)
{
    return rate <= HighestRate(capacityMB, totalSeconds);
}

TText ListLengthText(const TListLengths& lengths, const TText& flickPath)
{
    TText text;
    if (lengths.Pending > 0) {
        const int read[] = {lengths.Files - lengths.Pending, lengths.Files};
        AddFormatted(text, "Reading lengths: # of # file~...", read);
    } else if (lengths.Missing > 0) {
        text += "Lengths unknown: no ffmpeg.exe in ";
        text += flickPath;
    } else if (lengths.Files > 0) {
        const int total = TotalSeconds(lengths);
        const int sum[] = {lengths.Files, total / 3600, total / 60 % 60, total % 60};
        AddFormatted(text, "# file~, # Hr # min # sec: DVD 4,3 GB", sum);
        AddFit(text, Dvd43CapacityMB, total);
        text += ", DVD 8,5 GB";
        AddFit(text, Dvd85CapacityMB, total);
        text += '.';
        if (lengths.Unknown > 0)
            AddFormatted(text, " (# file~ of unknown length not counted)", &lengths.Unknown);
    }
    return text;
}
