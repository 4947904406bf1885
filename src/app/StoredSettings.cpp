// Spindrel.ini: one section, read key by key and written whole through kernel32's
// profile functions, so that two programs writing it never garble it: the one that
// writes last wins. A file that cannot be found, read or written (no APPDATA, a folder
// that cannot be made, a read-only or locked file) is passed over in silence, and a
// stored value that fails its check leaves its control as it was built.
#include "app/StoredSettings.h"

#include "app/Handlers.h"
#include "app/MainForm.h"
#include "job/JobSettings.h"

#include <cstdlib>
#include <cstring>

namespace {

const char Section[] = "Spindrel";
const char FileName[] = "Spindrel.ini";

// How a value is stored and which check a stored value passes.
enum TStoredKind : char { FolderBox, ListItem, CheckMark, FreeText, DialogFolder };

// The key is held in place rather than pointed to, which the program loads without
// relocating.
struct TStoredValue {
    TWidget* TMainForm::*Control;
    char Key[14];
    TStoredKind Kind;
};

// The folders are stored as their boxes show them; the folder the open-file dialog
// opens in belongs to "Add Video File".
const TStoredValue StoredValues[] = {
    {&TMainForm::FlickPathEdit, "FlickPath", FolderBox},
    {&TMainForm::OutputFolderEdit, "OutputFolder", FolderBox},
    {&TMainForm::AspectCombo, "AspectRatio", ListItem},
    {&TMainForm::FormatCombo, "Format", ListItem},
    {&TMainForm::BitrateCombo, "Bitrate", ListItem},
    {&TMainForm::CustomCheck, "Custom", CheckMark},
    {&TMainForm::CustomBitrateEdit, "CustomBitrate", FreeText},
    {&TMainForm::HalfD1Check, "HalfD1", CheckMark},
    {&TMainForm::TwoPassCheck, "TwoPass", CheckMark},
    {&TMainForm::AddFileButton, "VideoFolder", DialogFolder},
};

// Room for %APPDATA%\Spindrel\Spindrel.ini, or the exe's folder and Spindrel.ini.
typedef char TSettingsPath[MAX_PATH + sizeof "\\Spindrel\\" + sizeof FileName];

// The file beside the exe when there is one, so that a portable copy carries its own
// settings; otherwise %APPDATA%\Spindrel\Spindrel.ini. Answers the length of its
// folder, or 0 without APPDATA.
int FindSettingsFile(TSettingsPath& path)
{
    // A path cut short at MAX_PATH has no folder to use.
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    int folder = 0;
    for (DWORD i = 0; length < MAX_PATH && i < length; ++i)
        if (path[i] == '\\')
            folder = (int)i;
    if (folder) {
        memcpy(path + folder + 1, FileName, sizeof FileName);
        const DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return folder;
    }
    const char* appData = getenv("APPDATA");
    const size_t appDataLength = appData ? strlen(appData) : 0;
    if (appDataLength - 1 >= MAX_PATH - 1)
        return 0;
    memcpy(path, appData, appDataLength);
    memcpy(path + appDataLength, "\\Spindrel\\Spindrel.ini", sizeof "\\Spindrel\\Spindrel.ini");
    return (int)(appDataLength + sizeof "\\Spindrel" - 1);
}

// A stored value goes through the check of a chosen or typed one; only an item of
// its list is taken, byte for byte. A value is missing, and counts as empty, when its
// line is longer than any the program writes.
void Restore(TMainForm* f, const TSettingsPath& file, const TStoredValue& stored)
{
    char text[1024];
    const DWORD length = GetPrivateProfileStringA(Section, stored.Key, nullptr, text, sizeof text, file);
    const TText value(text, length + 1 < sizeof text ? (int)length : 0);
    TWidget* control = f->*stored.Control;
    // Tests rather than a switch, whose jump table the program would load relocated.
    if (stored.Kind == FolderBox && !FolderRefusal(value)) {
        if (control == f->FlickPathEdit)
            SetFlickPath(f, value);
        else
            SetOutputFolder(f, value);
    }
    for (int i = 0; stored.Kind == ListItem && i < control->ItemCount(); ++i)
        if (control->GetItemText(i) == value)
            control->SetCurIndex(i);
    if (stored.Kind == CheckMark && length == 1 && (*text == '0' || *text == '1'))
        control->SetChecked(*text == '1');
    // Any text the custom box takes; "Start" checks it, as it does a typed one.
    if (stored.Kind == FreeText)
        control->SetText(value);
    if (stored.Kind == DialogFolder && !HasForeignCharacters(value))
        f->VideoFileDialog->InitialDir = value;
}

// Before the window and its controls are destroyed; the close goes on.
bool StoreOnClose(TWidget* window, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_CLOSE && record.Window == window->Handle)
        StoreSettings(MainForm);
    return false;
}

} // namespace

void RestoreSettings(TMainForm* f)
{
    f->MainWindow->AttachHandler(StoreOnClose, false);
    TSettingsPath file;
    if (!FindSettingsFile(file))
        return;
    for (const TStoredValue& stored : StoredValues)
        Restore(f, file, stored);
    // Enables the active bitrate box and shows the estimate of its bitrate.
    OnCustomToggle(f, f->CustomCheck);
}

void StoreSettings(TMainForm* f)
{
    TSettingsPath file;
    const int folder = FindSettingsFile(file);
    if (!folder)
        return;
    // Windows refuses to write a read-only file; Wine running as root would not.
    const DWORD attributes = GetFileAttributesA(file);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return;
    // The folder of the file, made when first needed.
    file[folder] = '\0';
    CreateDirectoryA(file, nullptr);
    file[folder] = '\\';
    TText lines;
    for (const TStoredValue& stored : StoredValues) {
        TWidget* control = f->*stored.Control;
        lines += stored.Key;
        lines += '=';
        if (stored.Kind == CheckMark)
            lines += control->GetChecked() == 1 ? '1' : '0';
        else
            lines += stored.Kind == DialogFolder ? f->VideoFileDialog->InitialDir : control->GetText();
        lines += '\0';
    }
    WritePrivateProfileSectionA(Section, lines.CStr(), file);
}
