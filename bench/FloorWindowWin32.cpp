// The floor of the program benchmarks: the least a Windows program with a window
// does. It registers a class, shows one window titled "Floor" and runs a message
// loop until the window is closed. It is built with the shipped program's
// toolchain and flags, so that size, start-up and memory compare like with like.
// Built a second time with FLOOR_WITH_PROGRAM_IMPORTS, it also loads every DLL
// the program imports, which tells how much of the program's start-up and memory
// is the loading of those DLLs.
#include <windows.h>
#ifdef FLOOR_WITH_PROGRAM_IMPORTS
#include <commdlg.h>
#include <shlobj.h>
#endif

namespace {

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FloorWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "Floor";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "Floor", "Floor", WS_OVERLAPPEDWINDOW, 202, 110, 520, 600, nullptr,
                                  nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
#ifdef FLOOR_WITH_PROGRAM_IMPORTS
    // Never true (the loop ends with exit code 0); the calls only make the
    // system load the DLLs at start-up.
    if (message.wParam == 0xF100) {
        GetOpenFileNameA(nullptr);
        SHBrowseForFolderA(nullptr);
        CoTaskMemFree(nullptr);
        DeleteObject(nullptr);
    }
#endif
    return 0;
}
