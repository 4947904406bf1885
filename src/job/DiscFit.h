// What the lengths of the listed videos mean for the two discs: whether the list
// fits at a bitrate, the bitrate at which it fits, and the line that sums the list
// up under the estimate labels.
#pragma once

#include "runtime/Text.h"

// The listed files' lengths as they stand.
struct TListLengths {
    int Files = 0;          // listed files
    int Pending = 0;        // of them, waiting to be read or being read
    int Unknown = 0;        // of unknown length, those of Missing included
    int Missing = 0;        // unknown because there was no encoder to ask
    long long KnownMs = 0;  // the sum of the known lengths
};

// The highest bitrate from 100 to 9000 kbit/s at which totalSeconds fit on a disc
// of capacityMB: whose estimate, in whole seconds as the labels show it, is at
// least totalSeconds. 0 when they do not fit even at 100.
int FittingBitrate(int capacityMB, int totalSeconds);
// The sum of the known lengths in whole seconds, truncated.
int TotalSeconds(const TListLengths& lengths);
// True when the estimate for the disc at rate (the bitrate plus the audio allowance),
// in whole seconds as the labels show it, is at least totalSeconds.
bool EstimateHolds(int capacityMB, int rate, int totalSeconds);

// Empty for an empty list; "Reading lengths: 3 of 12 files..." while reading;
// "Lengths unknown: no ffmpeg.exe in <flickPath>" without an encoder; otherwise the
// total and the fitting bitrates, "12 files, 3 Hr 12 min 5 sec: DVD 4,3 GB up to 2536
// kBits, DVD 8,5 GB up to 5452 kBits.", and the files of unknown length.
TText ListLengthText(const TListLengths& lengths, const TText& flickPath);
