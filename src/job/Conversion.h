// A launched conversion as Spindrel keeps it from "Start" to its report: its files,
// since the window's list may change in between, and what its record says.
//
// The record is "convert.log" beside "convert.bat": the script appends a line to it
// as it goes, and Spindrel reads it back for the window's title while the script
// runs and for the report when it has ended. One record per line:
//   start <k>     file k's encoder runs begin
//   fail <code>   one of them ended with that exit code, not 0
//   end           the script ran to its end
#pragma once

#include "job/JobPlatform.h"

extern const char RecordName[];

// Appends the progress at file k of count as the titles show it: "[3/12] ".
void AppendProgress(TText& text, int k, int count);

class TConversion {
public:
    // A conversion of count files, at least one, into outputFolder.
    TConversion(int count, const TText& outputFolder);
    ~TConversion();
    TConversion(const TConversion&) = delete;
    TConversion& operator=(const TConversion&) = delete;

    // Reads the record again. A line counts once its line end is there: the script
    // may be writing the last one. Lines that are no record of these files are
    // passed over.
    void ReadRecord(TJobPlatform& platform);

    const int Count;
    const TText OutputFolder;
    TText* const Inputs;   // owned, with the videos
    TText* const Videos;   // the video each input becomes

    // What the record said when it was last read.
    bool Readable;
    bool ReachedEnd;
    // The file the script is at: the one whose runs began last, the first before any.
    int Started;
    // Owned: per file the first exit code other than 0 of its runs, or 0.
    int* const Codes;
};
