#include "wol/DroppedFiles.h"

#include <shellapi.h>

void AcceptDroppedFiles(TWidget* widget)
{
    DragAcceptFiles(widget->GetHandle(), TRUE);
}

void ForEachDroppedFile(WPARAM drop, void (*visit)(void* context, const TText& path), void* context)
{
    HDROP files = reinterpret_cast<HDROP>(drop);
    const UINT count = DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(files, i, nullptr, 0);
        if (length == 0)
            continue;
        TText path;
        path.Resize(static_cast<int>(length));
        DragQueryFileA(files, i, path.Data(), length + 1);
        visit(context, path);
    }
    DragFinish(files);
}
