#include "job/FileRefusals.h"

#include "job/JobSettings.h"

namespace {

// Each group lists this many paths at most, so that the box stays on the screen
// when hundreds of files are refused at once.
const int MaxListed = 10;

// The reasons that follow each path on its own line; the others head a group.
const char* const Suffixes[RefusalReasonCount] = {
    " is a folder, not a video file", " is a shortcut that cannot be followed", " cannot be found",
};
const char* const ForeignText = "Please do not use foreign characters in path and files names";
const char* const DuplicateText = "This file already exists";

TText SingleMessage(TRefusalReason reason, const TText& path)
{
    if (Suffixes[reason])
        return path + Suffixes[reason];
    if (reason == RefusedForeign)
        return ForeignText;
    return DuplicateText + TText(": ") + path;
}

// Above each group's paths; a line that names its reason itself has none.
TText Heading(int reason)
{
    if (Suffixes[reason])
        return TText();
    return (reason == RefusedForeign ? ForeignText : DuplicateText) + TText(":\n");
}

}

void AddRefusal(TRefusals& refusals, TRefusalReason reason, const TText& path)
{
    if (++refusals.Count == 1)
        refusals.Single = SingleMessage(reason, path);
    if (++refusals.Counts[reason] > MaxListed)
        return;
    TText& lines = refusals.Lines[reason];
    if (!lines.IsEmpty())
        lines += '\n';
    lines += Suffixes[reason] ? path + Suffixes[reason] : path;
}

TText RefusalMessage(const TRefusals& refusals)
{
    if (refusals.Count <= 1)
        return refusals.Single;
    TText message;
    for (int reason = 0; reason < RefusalReasonCount; ++reason) {
        const int count = refusals.Counts[reason];
        if (count == 0)
            continue;
        if (!message.IsEmpty())
            message += "\n\n";
        message += Heading(reason) + refusals.Lines[reason];
        if (count > MaxListed)
            message += "\nand " + IntegerToText(count - MaxListed) + " more";
    }
    return message;
}
