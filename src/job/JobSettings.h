// The conversion job's program-wide state and the text and number helpers that
// every job operation relies on.
#pragma once

#include "runtime/Text.h"

struct TJobSettings {
    TText FlickPath;
    TText OutputFolder;
    TText NewFile;
    TText ScriptPath;
    TText AspectText;
    TText FormatText;
    TText FrameSize;
    TText BitrateText;
    TText OnePassCommand;
    TText Pass1Command;
    TText Pass2Command;
    TText Quote;
    TText HoursText;
    TText MinutesText;
    TText SecondsText;
    TText Target;
    TText BaseName;
    TText ReversedName;
    TText CurrentChar;
    TText Drive;
    TText CdSegment;
    TText CheckedPath;
    int ItemIndex = 0;
    int CharIndex = 0;
    int FileCount = 0;
    int RemovedIndex = 0;
    int BitrateValue = 0;
    int ParseCode = 0;
    int Hours = 0;
    int Minutes = 0;
    int Seconds = 0;
    int CapacityMB = 0;
    int OutputFolderLength = 0;
    int PathLength = 0;
    bool HasError = false;
    bool BadCustomBitrate = false;
    bool UseCustomBitrate = false;
    bool IsDuplicate = false;
};

// The one instance the window's handlers work on; it lives for the whole run.
extern TJobSettings JobSettings;

void InitJobSettings(TJobSettings& settings);

// True when the text holds a byte above 126, or "?", which no Windows name holds:
// the ANSI calls leave it for a character outside the code page. Such paths are refused.
bool HasForeignCharacters(const TText& text);

// True when the path begins with a drive letter, a colon and a backslash ("C:\"):
// the script reaches the DVD Flick folder through its drive, and a folder without
// one (a network share) is refused.
bool StartsWithDriveRoot(const TText& path);

// Reads a whole text as a 32-bit integer: leading spaces, an optional sign, then
// decimal digits or a hexadecimal number after "$", "x", "X", "0x" or "0X", and
// nothing after it. Returns 0 and sets value on success; otherwise returns the
// 1-based position of the byte where the parse stopped (one past the end when the
// text ran out) and leaves value unchanged.
int ParseInteger(const TText& text, int& value);

TText IntegerToText(int value);
// The same appended to text, without a text of its own in between.
void AppendInteger(TText& text, int value);

// CurrentChar := the one character c, in CurrentChar's own buffer: the scans that
// examine a text character by character allocate nothing per character.
void SetCurrentChar(TJobSettings& settings, char c);
