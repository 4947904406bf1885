// The files of one choice in an open-file dialog that allows several: one file
// comes as its full path, several as the folder followed by each file's name, the
// parts separated by CR (the form the window-object layer gives).
#pragma once

#include "runtime/Text.h"

// Calls visit with the full path of each chosen file, in the dialog's order.
void ForEachChosenFile(const TText& choice, void (*visit)(void* context, const TText& path), void* context);
