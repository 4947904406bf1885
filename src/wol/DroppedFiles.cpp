#include "wol/DroppedFiles.h"

#include "runtime/SystemLibraries.h"

// The style is all that DragAcceptFiles would set; set here, it spares loading the
// shell's DLL before the first drop.
void AcceptDroppedFiles(TWidget* widget)
{
    HWND window = widget->GetHandle();
    SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

void ForEachDroppedFile(WPARAM drop, void (*visit)(void* context, const TText& path), void* context)
{
    const TShellFunctions* shell = ShellFunctions();
    if (!shell)
        return;
    HDROP files = reinterpret_cast<HDROP>(drop);
    const UINT count = shell->DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = shell->DragQueryFileA(files, i, nullptr, 0);
        if (length == 0)
            continue;
        TText path;
        path.Resize(static_cast<int>(length));
        shell->DragQueryFileA(files, i, path.Data(), length + 1);
        visit(context, path);
    }
    shell->DragFinish(files);
}
