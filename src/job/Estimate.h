// The longest video that fits on a 4.3 GB and on an 8.5 GB DVD at BitrateText.
#pragma once

#include "job/JobSettings.h"

// kbit/s added to the video bitrate for the audio.
const int AudioAllowance = 448;
const int KilobitsPerMegabyte = 8000;
const int Dvd43CapacityMB = 4300;
const int Dvd85CapacityMB = 8500;

// Sets the two label texts, "DVD 4,3 GB: 1 Hr 0 min 40 sec" and its 8.5 GB twin,
// and returns true; returns false, leaving them alone, when BitrateText is no number
// or the bitrate plus the audio allowance is zero or less.
bool ComputeEstimate(TJobSettings& settings, TText& label43, TText& label85);
