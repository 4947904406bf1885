// The folder-browse dialog, the open/save-file dialog and the message box, and
// the option-set rule they share with control creation. Each run is modal: the
// Windows call runs its own message loop and returns when the user closes it.
#include "wol/Dialogs.h"

#include "runtime/SystemLibraries.h"
#include "wol/Widget.h"

#include <cstring>

DWORD OptionsToFlags(uint16_t options, const int32_t* table, int count)
{
    DWORD flags = 0;
    for (int i = 0; i < count; ++i) {
        bool present = (options >> i) & 1;
        int32_t entry = table[i];
        if (entry >= 0 && present)
            flags |= (DWORD)entry;
        else if (entry < 0 && !present)
            flags |= ~(DWORD)entry;
    }
    return flags;
}

// The main window's window while it exists: null before it is made and after
// Windows destroyed it.
static HWND MainWindowHandle()
{
    HWND window = MainWidget ? MainWidget->Handle : nullptr;
    return window && IsWindow(window) ? window : nullptr;
}

// A dialog without its own owner is owned by the main window, when there is one.
static HWND OwnerWindow(HWND owner)
{
    return owner ? owner : MainWindowHandle();
}

static const char* TextOrNull(const TText& text)
{
    return text.IsEmpty() ? nullptr : text.CStr();
}

//--- Folder dialog

static const int32_t FolderFlags[] = {
    BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER, BIF_DONTGOBELOWDOMAIN,
    BIF_RETURNFSANCESTORS, BIF_RETURNONLYFSDIRS, BIF_STATUSTEXT,
    BIF_BROWSEINCLUDEFILES, BIF_EDITBOX, BIF_NEWDIALOGSTYLE,
};

const uint16_t FolderDefaultOptions = 1 << 4;   // file-system folders only

TFolderDialog* NewFolderDialog(const TText& title, uint16_t options)
{
    TFolderDialog* dialog = NewObject<TFolderDialog>();
    dialog->Title = title;
    dialog->Options = options ? options : FolderDefaultOptions;
    return dialog;
}

// Path is left as it was when the user cancels, and when the chosen folder has no
// file-system path (a virtual folder such as "My Computer"), which counts as a
// cancel. The display name and the path go to buffers of their own first: the
// shell may write them even then.
bool RunFolderDialog(TFolderDialog* dialog)
{
    char displayName[sizeof dialog->Path] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = OwnerWindow(dialog->Owner);
    info.pszDisplayName = displayName;
    info.lpszTitle = TextOrNull(dialog->Title);
    info.ulFlags = OptionsToFlags(dialog->Options, FolderFlags, sizeof FolderFlags / sizeof *FolderFlags);
    info.lParam = (LPARAM)dialog;

    // The shell's folder objects are COM objects: the thread must be in an
    // apartment while the dialog browses them. The run leaves it as it found it.
    const TShellFunctions* shell = ShellFunctions();
    const TComFunctions* com = ComFunctions();
    if (!shell || !com)
        return false;
    HRESULT apartment = com->CoInitialize(nullptr);
    LPITEMIDLIST list = shell->SHBrowseForFolderA(&info);
    bool chosen = false;
    if (list) {
        char path[sizeof dialog->Path] = {};
        chosen = shell->SHGetPathFromIDListA(list, path) && path[0] != '\0';
        if (chosen)
            memcpy(dialog->Path, path, sizeof path);
        com->CoTaskMemFree(list);
    }
    if (SUCCEEDED(apartment))
        com->CoUninitialize();
    return chosen;
}

TText FolderPath(TFolderDialog* dialog)
{
    return TText(dialog->Path, (int)strnlen(dialog->Path, sizeof dialog->Path));
}

//--- File dialog

static const int32_t FileFlags[] = {
    OFN_CREATEPROMPT, OFN_EXTENSIONDIFFERENT, OFN_FILEMUSTEXIST, OFN_HIDEREADONLY,
    OFN_NOCHANGEDIR, OFN_NODEREFERENCELINKS, OFN_ALLOWMULTISELECT,
    OFN_NONETWORKBUTTON, OFN_NOREADONLYRETURN, OFN_OVERWRITEPROMPT,
    OFN_PATHMUSTEXIST, OFN_READONLY, OFN_NOVALIDATE,
};

// File must exist, hide read-only, overwrite prompt, path must exist.
const uint16_t FileDefaultOptions = 0x060C;

TFileDialog* NewFileDialog(const TText& title, const TText& initialDir, uint16_t options)
{
    TFileDialog* dialog = NewObject<TFileDialog>();
    dialog->OpenDialog = true;
    dialog->Title = title;
    dialog->InitialDir = initialDir;
    dialog->Options = options ? options : FileDefaultOptions;
    return dialog;
}

// "All Files|*.*" becomes "All Files", NUL, "*.*", NUL, NUL: the bars after the
// first character turn into NULs, and the text's own terminator closes the list.
static TText MakeFilterList(const TText& filter)
{
    TText list = filter;
    list += '\0';
    char* data = list.Data();
    for (int i = 1; i < list.Length(); ++i) {
        if (data[i] == '|')
            data[i] = '\0';
    }
    return list;
}

// Room for thousands of files chosen at once (about 10,000 with names of 100
// characters); the buffer lives only while the dialog runs.
const int MultiSelectBufferSize = 1 << 20;

// FileName holds the choice afterwards, or is empty after a cancel or a failure.
bool RunFileDialog(TFileDialog* dialog)
{
    DWORD flags = OptionsToFlags(dialog->Options, FileFlags, sizeof FileFlags / sizeof *FileFlags)
        | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
    bool multiSelect = (flags & OFN_ALLOWMULTISELECT) != 0;
    int size = multiSelect ? MultiSelectBufferSize : 0x106;

    TText buffer;   // zeros past the initial name
    buffer.Resize(size);
    char* file = buffer.Data();
    int n = dialog->FileName.Length() < size - 1 ? dialog->FileName.Length() : size - 1;
    memcpy(file, dialog->FileName.CStr(), (size_t)n);

    TText filter;
    if (!dialog->Filter.IsEmpty())
        filter = MakeFilterList(dialog->Filter);

    // The structure without the Windows 2000 additions (76 bytes in the 32-bit build).
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = OwnerWindow(dialog->Owner);
    ofn.hInstance = ModuleInstance;
    ofn.lpstrFilter = filter.IsEmpty() ? nullptr : filter.CStr();
    ofn.nFilterIndex = (DWORD)dialog->FilterIndex;
    ofn.lpstrFile = file;
    ofn.nMaxFile = (DWORD)size;
    ofn.lpstrInitialDir = TextOrNull(dialog->InitialDir);
    ofn.lpstrTitle = TextOrNull(dialog->Title);
    ofn.Flags = flags;
    ofn.lpstrDefExt = dialog->DefExtension.CStr();
    ofn.lCustData = (LPARAM)dialog;

    const TDialogFunctions* dialogs = DialogFunctions();
    BOOL chosen = dialogs && (dialog->OpenDialog ? dialogs->GetOpenFileNameA(&ofn)
                                                 : dialogs->GetSaveFileNameA(&ofn));
    dialog->Error = chosen ? 0 : dialogs ? dialogs->CommDlgExtendedError() : CDERR_DIALOGFAILURE;
    // Wine cuts a choice too long for the buffer where the buffer ends, without
    // its closing NUL, and reports success.
    if (chosen && file[size - 1]) {
        chosen = FALSE;
        dialog->Error = FNERR_BUFFERTOOSMALL;
    }
    if (chosen) {
        dialog->FilterIndex = (int)ofn.nFilterIndex;
        dialog->ReadOnly = (ofn.Flags & OFN_READONLY) != 0;
        // Several files come as folder, NUL, name, NUL, ..., NUL, NUL, and exactly
        // then a NUL stands before the first name: one text with CR between the
        // parts. One file comes as its path, and what follows its NUL may be left
        // from a longer initial name.
        if (multiSelect && ofn.nFileOffset > 0 && !file[ofn.nFileOffset - 1]) {
            for (int i = 0; i + 1 < size && (file[i] || file[i + 1]); ++i) {
                if (!file[i])
                    file[i] = '\r';
            }
        }
        dialog->FileName = file;
    } else {
        dialog->FileName.Clear();
    }
    return chosen != FALSE;
}

//--- Message box

// Captioned like the main window and modal to it while it exists: the window then
// takes no click until the box is closed, so no handler runs again beneath it.
int MessageBox(const TText& text, UINT flags)
{
    const char* caption = MainWidget ? MainWidget->Caption.CStr() : nullptr;
    return MessageBoxA(MainWindowHandle(), text.CStr(), caption, flags);
}

void ShowMessage(const TText& text)
{
    MessageBox(text, MB_OK);
}
