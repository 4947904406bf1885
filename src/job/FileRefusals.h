// The files refused while several are added in one go (one choice in the open-file
// dialog, one drop), gathered for a single message box: a lone refusal shows its
// own message, several are listed under each reason's text.
#pragma once

#include "runtime/Text.h"

// In the order their groups appear in the message.
enum TRefusalReason {
    RefusedFolder, RefusedShortcut, RefusedMissing, RefusedForeign, RefusedDuplicate, RefusalReasonCount
};

struct TRefusals {
    int Count = 0;
    TText Single;                        // the message of the first refusal
    TText Lines[RefusalReasonCount];     // each reason's listed lines, joined by LF
    int Counts[RefusalReasonCount] = {};
};

void AddRefusal(TRefusals& refusals, TRefusalReason reason, const TText& path);
// The message to show; empty when nothing was refused.
TText RefusalMessage(const TRefusals& refusals);
