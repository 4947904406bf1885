// The length of a video as the encoder reports it when it is given the video alone
// ("ffmpeg.exe -i <file>"): the first line of its error output that reads
// "Duration: HH:MM:SS.fraction" after its leading spaces.
#pragma once

// Lengths are in milliseconds; these negative values stand for none.
const long long LengthPending = -1;     // not known yet
const long long LengthUnknown = -2;     // the encoder tells none, failed or took too long
const long long LengthNoEncoder = -3;   // there is no encoder to ask

// The length told by output, the encoder's whole error output ended by a NUL;
// LengthUnknown when it tells none ("Duration: N/A" included).
long long LengthInOutput(const char* output);
