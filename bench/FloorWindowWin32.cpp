// The floor of the program benchmarks: the least a Windows program with a window
// does. It registers a class, shows one window titled "Floor" and runs a message
// loop until the window is closed. It is built with the shipped program's
// toolchain and flags, so that size, start-up and memory compare like with like.
// Built a second time with FLOOR_FILE_DIALOG, the window holds one button, "Add
// Video File", numbered as the program's, that opens the open-file dialog as the
// program does (the same flags, filter, title and buffer, the last choice given
// back as the next start) and does nothing with the choice: what the dialog
// costs the program's process, without the program.
#include <windows.h>
#ifdef FLOOR_FILE_DIALOG
#include <commdlg.h>

#include <cstdlib>
#include <cstring>
#endif

namespace {

#ifdef FLOOR_FILE_DIALOG
void RunFileDialog(HWND owner)
{
    static char folder[MAX_PATH], name[MAX_PATH];
    static DWORD filterIndex;
    const DWORD size = 1 << 20;
    char* file = static_cast<char*>(std::calloc(size, 1));
    std::strcpy(file, name);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.hInstance = GetModuleHandleA(nullptr);
    ofn.lpstrFilter = "All Files\0*.*\0";
    ofn.nFilterIndex = filterIndex;
    ofn.lpstrFile = file;
    ofn.nMaxFile = size;
    ofn.lpstrInitialDir = folder[0] ? folder : nullptr;
    ofn.lpstrTitle = "Select a Video File";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST |
                OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
    ofn.lpstrDefExt = "";
    if (GetOpenFileNameA(&ofn) && std::strlen(file) < MAX_PATH) {
        filterIndex = ofn.nFilterIndex;
        lstrcpynA(folder, file, ofn.nFileOffset + 1);
        std::strcpy(name, file);
    }
    std::free(file);
}
#endif

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
#ifdef FLOOR_FILE_DIALOG
    if (message == WM_COMMAND && LOWORD(wParam) == 0x8008) {
        RunFileDialog(window);
        return 0;
    }
#endif
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
#ifdef FLOOR_FILE_DIALOG
    CreateWindowExA(0, "BUTTON", "Add Video File", WS_CHILD | WS_VISIBLE, 8, 8, 105, 24, window,
                    reinterpret_cast<HMENU>(0x8008), instance, nullptr);
#endif
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
