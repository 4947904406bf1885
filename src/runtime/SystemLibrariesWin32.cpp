#include "runtime/SystemLibraries.h"

namespace {

// Fills functions, a record of function pointers, with names' addresses in library.
template <class TFunctions>
const TFunctions* Bind(TFunctions& functions, bool& bound, const char* library,
                       const char* const (&names)[sizeof(TFunctions) / sizeof(FARPROC)])
{
    if (!bound) {
        bound = true;
        FARPROC* slots = reinterpret_cast<FARPROC*>(&functions);
        HMODULE module = LoadLibraryA(library);
        for (const char* name : names) {
            *slots = module ? GetProcAddress(module, name) : nullptr;
            if (!*slots++)
                module = nullptr;
        }
        if (!module)
            functions = TFunctions();
    }
    return *reinterpret_cast<FARPROC*>(&functions) ? &functions : nullptr;
}

}

// The names are static arrays: as constants they stay out of the exe's writable data.
const TDialogFunctions* DialogFunctions()
{
    static TDialogFunctions functions;
    static bool bound;
    static const char* const names[] = {"GetOpenFileNameA", "GetSaveFileNameA", "CommDlgExtendedError"};
    return Bind(functions, bound, "comdlg32.dll", names);
}

const TShellFunctions* ShellFunctions()
{
    static TShellFunctions functions;
    static bool bound;
    static const char* const names[] = {"ShellExecuteA", "ShellExecuteExA", "DragQueryFileA", "DragFinish",
                                        "SHBrowseForFolderA", "SHGetPathFromIDListA"};
    return Bind(functions, bound, "shell32.dll", names);
}

const TComFunctions* ComFunctions()
{
    static TComFunctions functions;
    static bool bound;
    static const char* const names[] = {"CoCreateInstance", "CoInitialize", "CoTaskMemFree", "CoUninitialize"};
    return Bind(functions, bound, "ole32.dll", names);
}
