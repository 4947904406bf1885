// The functions of the dialog, shell and COM DLLs that the program calls, bound on
// first use instead of imported: start-up then maps only user32, gdi32 and
// kernel32, and a run that opens no dialog never loads the others, which keeps the
// window quick to appear and the program small in memory.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

struct TDialogFunctions {
    decltype(&::GetOpenFileNameA) GetOpenFileNameA;
    decltype(&::GetSaveFileNameA) GetSaveFileNameA;
    decltype(&::CommDlgExtendedError) CommDlgExtendedError;
};

struct TShellFunctions {
    decltype(&::ShellExecuteA) ShellExecuteA;
    decltype(&::ShellExecuteExA) ShellExecuteExA;
    decltype(&::DragQueryFileA) DragQueryFileA;
    decltype(&::DragFinish) DragFinish;
    decltype(&::SHBrowseForFolderA) SHBrowseForFolderA;
    decltype(&::SHGetPathFromIDListA) SHGetPathFromIDListA;
};

struct TComFunctions {
    decltype(&::CoCreateInstance) CoCreateInstance;
    decltype(&::CoInitialize) CoInitialize;
    decltype(&::CoTaskMemFree) CoTaskMemFree;
    decltype(&::CoUninitialize) CoUninitialize;
};

// Each loads its DLL on the first call and answers the same functions afterwards;
// null when the DLL or one of its functions cannot be found, which the caller
// treats as the call failing.
const TDialogFunctions* DialogFunctions();
const TShellFunctions* ShellFunctions();
const TComFunctions* ComFunctions();
