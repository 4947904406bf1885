// "Start": the checks before a conversion, the script "convert.bat" and its launch.
#pragma once

#include "job/JobPlatform.h"
#include "job/JobSettings.h"

// The messages of the failing checks, in the order they are to be shown.
struct TStartMessages {
    int Count = 0;
    const char* Items[5] = {};
};

// While the script launched last still runs, fails with that alone. Otherwise checks
// the file count, the encoder in FlickPath, the text of the active bitrate box (100
// to 9000; useCustomBitrate says whether it is the custom one), and that the aspect
// and format texts are among their choices. All checks run; HasError is left set
// when any failed. An accepted bitrate is written back to BitrateText in decimal, so
// that only checked texts reach the script.
TStartMessages ValidateStart(TJobSettings& settings, bool useCustomBitrate, const TText& bitrateText,
                             const TText& aspectText, const TText& formatText, TJobPlatform& platform);

struct TScriptResult {
    // 0 when the script was written, else the error code that stopped it.
    int Code = 0;
    // The error's text for the user; empty on success.
    TText Text;
    // The file that could not be written: the script, or an old record of the
    // conversion that could not be removed.
    TText Path;

    bool Succeeded() const { return Code == 0; }
};

// The words for a failed write's code: "File not found", "Invalid filename",
// "Too many open files", "File access denied" and "Disk full" for 2, 3, 4, 5 and
// 101; any other code in the system's words without their closing period, or
// "I/O error <code>" where the system has none.
TText IoErrorText(int code, TJobPlatform& platform);

// Writes "convert.bat" at ScriptPath: for each of the count paths, the lines that
// change to the DVD Flick folder and run the encoder, and around them the lines
// that show the progress in the console's title and keep the conversion's record
// (Conversion.h), whose old file is removed first. On failure the half-written file
// is removed, and nothing must be launched. videos, when given, receives the path of
// the video each input becomes.
TScriptResult WriteScript(TJobSettings& settings, const TText& aspectText, const TText& formatText,
                          const TText& presetBitrateText, bool halfD1, bool twoPass,
                          const TText* paths, int count, TJobPlatform& platform, TText* videos = nullptr);

// Hands the script at ScriptPath to the shell, which keeps its run for ValidateStart
// to watch; false when the shell refuses it.
bool LaunchScript(const TJobSettings& settings, TJobPlatform& platform);
