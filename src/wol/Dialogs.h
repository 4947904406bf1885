// The folder-browse dialog, the open/save-file dialog and the message box. They
// take their default owner and caption from MainWidget.
#pragma once

#include "runtime/Text.h"
#include "wol/RefObject.h"

#include <windows.h>

#include <cstdint>

#undef MessageBox

// Or-s table[i] into the result when option i is set; a negative entry stands for
// its complement, or-ed in when option i is absent.
DWORD OptionsToFlags(uint16_t options, const int32_t* table, int count);

// The dialog objects' texts are released with the instance by the base Destroy.
class TFolderDialog : public TRefObject {
public:
    TText Title;
    uint16_t Options;
    char Path[MAX_PATH + 1];
    HWND Owner;
};

class TFileDialog : public TRefObject {
public:
    TText Filter;            // "description|pattern|..." pairs
    int FilterIndex;
    bool OpenDialog;
    TText InitialDir;
    TText DefExtension;
    TText FileName;          // in: initial name; out: the choice, empty after cancel
    TText Title;
    uint16_t Options;
    HWND Owner;
    bool ReadOnly;
    DWORD Error;             // after a run: 0, or why the dialog failed (CommDlgExtendedError)
};

TFolderDialog* NewFolderDialog(const TText& title, uint16_t options);
bool RunFolderDialog(TFolderDialog* dialog);
TText FolderPath(TFolderDialog* dialog);

// The file option that lets the user choose several files at once (Explorer-style).
const uint16_t FileOptionMultiSelect = 1 << 6;

TFileDialog* NewFileDialog(const TText& title, const TText& initialDir, uint16_t options);
// False after a cancel, and after a failure, which Error then names: a cancel is
// never confused with a choice lost.
bool RunFileDialog(TFileDialog* dialog);

int MessageBox(const TText& text, UINT flags);
void ShowMessage(const TText& text);
