// What became of every file of a conversion, told to the user when its script has
// ended.
#pragma once

#include "job/Conversion.h"

// The report: how many videos were written (all the file's runs ended with 0 and its
// video is there and not empty) and, one line each, at most ten of the files that
// were not. A script that did not reach its end was stopped during the file it had
// begun last; the files after it are not counted as failed. Without a readable
// record the videos alone count, and the report says so. Reads the record again.
TText ConversionReport(TConversion& conversion, TJobPlatform& platform);
