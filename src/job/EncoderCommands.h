// The encoder's settings for one Start, the output names and the "ffmpeg.exe"
// command lines written into the conversion script.
#pragma once

#include "job/JobSettings.h"

// The items of the aspect and format boxes: "Start" refuses any other text, so
// nothing typed into those boxes reaches the script.
const int ChoiceCount = 2;
extern const char* const AspectChoices[ChoiceCount];
extern const char* const FormatChoices[ChoiceCount];

// Takes the window's choices for one Start. A format other than exactly "PAL" or
// "NTSC" leaves Target and FrameSize as the previous Start left them; the preset
// bitrate is ignored when ValidateStart accepted a custom one.
void CaptureEncoderSettings(TJobSettings& settings, const TText& aspectText,
                            const TText& formatText, const TText& presetBitrateText, bool halfD1);

// BaseName := the file-name part of path (after its last backslash), every "." made "_".
void DeriveBaseName(TJobSettings& settings, const TText& path);

// Numbers that keep the output names of one script apart. Windows file names ignore
// case, so "clip.avi" in two folders would share one output file; every later use of
// a base name gets the smallest number from 2 up whose "<name>_<number>" is no other
// base name of the script. A name's first use gets 0: it stays as it is.
class TOutputNumbers {
public:
    TOutputNumbers(TJobSettings& settings, const TText* paths, int count);
    ~TOutputNumbers();
    TOutputNumbers(const TOutputNumbers&) = delete;
    TOutputNumbers& operator=(const TOutputNumbers&) = delete;

    int operator[](int index) const { return FNumbers[index]; }

private:
    int* FNumbers;
};

// Derives BaseName from path, followed by "_<number>" when number is not 0, and
// composes Pass1Command and Pass2Command (two-pass) or OnePassCommand for it.
void BuildCommandLines(TJobSettings& settings, const TText& path, bool twoPass, int number);
