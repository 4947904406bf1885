// Reads the length of a video in the background: a worker thread runs the encoder on
// it hidden, gives it at most 20 seconds, reads its error output and posts
// LengthReadMessage with the reading to the window. One reading at a time, each on
// a worker of its own, which never touches a window. The encoder belongs to a job
// object that ends it with the program, even when the program is killed.
#pragma once

#include "runtime/Text.h"

#include <windows.h>

const UINT LengthReadMessage = WM_APP;

struct TLengthReading {
    HWND Window;
    TText Folder;
    TText Video;
    long long Length;        // milliseconds, LengthUnknown or LengthNoEncoder
    HANDLE Worker;           // owned
    HANDLE volatile Job;     // owned by whoever takes it: the encoder's job, once it has it
};

// Starts reading the length of video with the ffmpeg.exe of folder, run from that
// folder. The reading belongs to the worker until its message, whose lParam it is;
// then to the window, which ends it with EndLengthReading.
TLengthReading* ReadLength(HWND window, const TText& folder, const TText& video);
void EndLengthReading(TLengthReading* reading);
// Ends the encoder of the reading under way, if any, and awaits its worker briefly;
// the reading stays the worker's.
void StopReadingLength(TLengthReading* reading);
