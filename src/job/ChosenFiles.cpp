#include "job/ChosenFiles.h"

void ForEachChosenFile(const TText& choice, void (*visit)(void* context, const TText& path), void* context)
{
    int end = choice.Find('\r');
    if (end < 0) {
        visit(context, choice);
        return;
    }
    // The root of a drive already ends in a backslash.
    TText folder(choice.CStr(), end);
    if (folder.At(folder.Length()) != '\\')
        folder += '\\';
    for (int start = end + 1; start < choice.Length(); start = end + 1) {
        end = choice.Find('\r', start);
        if (end < 0)
            end = choice.Length();
        visit(context, folder + TText(choice.CStr() + start, end - start));
    }
}
