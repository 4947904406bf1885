// Files dragged from a file manager and dropped onto a window. A window that
// accepts them receives WM_DROPFILES, whose wParam is the drop; Wine hands drops
// from X11 file managers on as the same message.
#pragma once

#include "runtime/Text.h"
#include "wol/Widget.h"

void AcceptDroppedFiles(TWidget* widget);
// Calls visit with the path of each dropped file or folder, in the drop's order,
// then releases the drop.
void ForEachDroppedFile(WPARAM drop, void (*visit)(void* context, const TText& path), void* context);
