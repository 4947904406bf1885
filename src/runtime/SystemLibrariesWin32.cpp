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

const TDialogFunctions* DialogFunctions()
{
    static TDialogFunctions functions;
    static bool bound;
    return Bind(functions, bound, "comdlg32.dll", {"GetOpenFileNameA", "GetSaveFileNameA"});
}

const TShellFunctions* ShellFunctions()
{
    static TShellFunctions functions;
    static bool bound;
    return Bind(functions, bound, "shell32.dll",
                {"ShellExecuteA", "ShellExecuteExA", "DragQueryFileA", "DragFinish",
                 "SHBrowseForFolderA", "SHGetPathFromIDListA"});
}

const TComFunctions* ComFunctions()
{
    static TComFunctions functions;
    static bool bound;
    return Bind(functions, bound, "ole32.dll", {"CoInitialize", "CoTaskMemFree", "CoUninitialize"});
}
