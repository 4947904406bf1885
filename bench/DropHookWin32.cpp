// A message hook that the program benchmark sets on spindrel.exe's thread (see
// DropRequest.h). When the program takes the benchmark's drop request from its
// queue, the hook rewrites the message into WM_DROPFILES with a drop handle made
// here, in the program's process, so that the program handles it as a drop from
// the shell: through its own window procedure, and freed by its own DragFinish.
#include "DropRequest.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

namespace {

// A moveable block in the shell's drop format, or null when there is no request.
HGLOBAL MakeDrop()
{
    HANDLE block = OpenFileMappingA(FILE_MAP_READ, FALSE, DROP_REQUEST_BLOCK);
    if (!block)
        return nullptr;
    HGLOBAL drop = nullptr;
    if (const char* paths = static_cast<const char*>(MapViewOfFile(block, FILE_MAP_READ, 0, 0, 0))) {
        size_t length = 0;
        while (paths[length] || paths[length + 1])
            ++length;
        length += 2;
        drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + length);
        if (DROPFILES* header = drop ? static_cast<DROPFILES*>(GlobalLock(drop)) : nullptr) {
            header->pFiles = sizeof(DROPFILES);
            std::memcpy(header + 1, paths, length);
            GlobalUnlock(drop);
        }
        UnmapViewOfFile(paths);
    }
    CloseHandle(block);
    return drop;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DropHook(int code, WPARAM removed, LPARAM lParam)
{
    static const UINT request = RegisterWindowMessageA(DROP_REQUEST_MESSAGE);
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && message->message == request) {
        if (HGLOBAL drop = MakeDrop()) {
            message->message = WM_DROPFILES;
            message->wParam = reinterpret_cast<WPARAM>(drop);
            message->lParam = 0;
        }
    }
    return CallNextHookEx(nullptr, code, removed, lParam);
}
