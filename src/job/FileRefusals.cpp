#include "job/FileRefusals.h"

#include "job/JobSettings.h"

namespace {

// Each group lists this many paths at most, so that the box stays on the screen
// when hundreds of files are refused at once.
const int MaxListed = 10;

const char* const FolderSuffix = " is a folder, not a video file";
const char* const ForeignText = "Please do not use foreign characters in path and files names";
const char* const DuplicateText = "This file already exists";

TText SingleMessage(TRefusalReason reason, const TText& path)
{
    if (reason == RefusedFolder)
        return path + FolderSuffix;
    if (reason == RefusedForeign)
        return ForeignText;
    return DuplicateText + TText(": ") + path;
}

// Above each group's paths; a folder's line names its reason itself.
TText Heading(int reason)
{
    if (reason == RefusedFolder)
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
    lines += reason == RefusedFolder ? path + FolderSuffix : path;
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
