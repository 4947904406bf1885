// How long the listed videos are. Each listed file's length is read in the
// background (LengthReader.h), one file at a time in the order they were listed,
// and kept per path for the rest of the run, so that a known file removed and
// listed again is not read again. The line under the estimate labels sums the list
// up, and a label whose length is shorter than the list's turns red.
#pragma once

#include "app/MainForm.h"

// Called once, while the main window is built: from then on its messages bring the
// lengths read, and its destruction stops the reading.
void StartListLengths(TMainForm* f);
// The list gained (listed) or lost a file; ShowListLengths follows once the
// change is done.
void FollowList(const TText& path, bool listed);
// Starts reading what waits to be read and shows the line and the labels' colours.
// With readUnknownAgain (the DVD Flick folder was set) the files of unknown length
// are read again, with the folder's encoder.
void ShowListLengths(TMainForm* f, bool readUnknownAgain = false);
// The labels show the estimate at rate (the bitrate plus the audio allowance).
void EstimateShown(TMainForm* f, int rate);
