#include "job/ConversionReport.h"

#include "job/JobSettings.h"

// As in the refusals' message: the box stays on the screen however many files failed.
static const int MaxListed = 10;

TText ConversionReport(TConversion& conversion, TJobPlatform& platform)
{
    conversion.ReadRecord(platform);
    const bool stopped = conversion.Readable && !conversion.ReachedEnd;
    int written = 0, failed = 0;
    TText lines;
    for (int k = 1; k <= (stopped ? conversion.Started - 1 : conversion.Count); ++k) {
        const int code = conversion.Codes[k - 1];
        if (code == 0 && platform.IsNonEmptyFile(conversion.Videos[k - 1])) {
            ++written;
            continue;
        }
        if (++failed > MaxListed)
            continue;
        lines += '\n';
        lines += conversion.Inputs[k - 1];
        if (code == 0) {
            lines += ": no video was written";
            continue;
        }
        lines += ": ffmpeg.exe ended with code ";
        AppendInteger(lines, code);
    }
    if (failed > MaxListed) {
        lines += "\nand ";
        AppendInteger(lines, failed - MaxListed);
        lines += " more";
    }

    TText report = stopped ? "The conversion was stopped during file "
                           : failed ? "Conversion finished with errors: " : "Conversion finished: ";
    AppendInteger(report, stopped ? conversion.Started : written);
    report += " of ";
    AppendInteger(report, conversion.Count);
    if (stopped) {
        report += "; ";
        AppendInteger(report, written);
    }
    report += !stopped ? " videos written to " : written == 1 ? " video was written to " : " videos were written to ";
    report += conversion.OutputFolder;
    report += '.';
    if (!conversion.Readable)
        report += " (the conversion's record could not be read)";
    report += lines;
    return report;
}
