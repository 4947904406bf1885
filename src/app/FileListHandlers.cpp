// The list of input files: adding through the open-file dialog, one file or several
// at a time, or by dropping files onto the main window; removing every selected file
// with "Remove" or the Delete key. FileCount and the set of listed paths follow the
// list box on every add and remove.
#include "app/Handlers.h"

#include "app/ListLengths.h"
#include "app/MainForm.h"
#include "job/ChosenFiles.h"
#include "job/FileRefusals.h"
#include "job/JobSettings.h"
#include "job/PathSet.h"
#include "wol/Dialogs.h"
#include "wol/DroppedFiles.h"
#include "wol/Shortcuts.h"

namespace {

// The texts of FileList's items, so that the duplicate check need not read every
// item back from the list box.
TPathSet ListedFiles;

// One choice or one drop: its files are added one by one and its refusals shown
// together at the end.
struct TAdding {
    TMainForm* Form;
    TText FirstPath;
    TRefusals Refusals;
};

// The checks of "Add Video File" for one file; a shortcut stands for its target,
// which then goes through them all. FileCount is raised before the checks and
// lowered on each refusal, so that it always equals the number of listed files.
void AddOneFile(void* context, const TText& given)
{
    TAdding& adding = *static_cast<TAdding*>(context);
    TJobSettings& job = JobSettings;
    if (adding.FirstPath.IsEmpty())
        adding.FirstPath = given;
    TText path = given;
    if (IsShortcut(given) && !ShortcutTarget(given, path)) {
        AddRefusal(adding.Refusals, RefusedShortcut, given);
        return;
    }
    const DWORD attributes = GetFileAttributesA(path.CStr());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        AddRefusal(adding.Refusals, RefusedFolder, path);
        return;
    }
    ++job.FileCount;
    job.CheckedPath = path;
    if (HasForeignCharacters(job.CheckedPath)) {
        AddRefusal(adding.Refusals, RefusedForeign, path);
        --job.FileCount;
        return;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        AddRefusal(adding.Refusals, RefusedMissing, path);
        --job.FileCount;
        return;
    }
    job.NewFile = path;
    job.IsDuplicate = ListedFiles.Contains(job.NewFile);
    if (job.IsDuplicate) {
        AddRefusal(adding.Refusals, RefusedDuplicate, job.NewFile);
        --job.FileCount;
        return;
    }
    adding.Form->FileList->AddItem(job.NewFile);
    ListedFiles.Add(job.NewFile);
    FollowList(job.NewFile, true);
}

// A list box draws itself again after every item added or removed, which makes a
// change of a thousand items take seconds under Wine; held, it is drawn once after.
void HoldDrawing(TWidget* list)
{
    list->SendToWidget(WM_SETREDRAW, FALSE, 0);
}

void ResumeDrawing(TWidget* list)
{
    list->SendToWidget(WM_SETREDRAW, TRUE, 0);
    list->Invalidate();
}

// Adds the files of one choice or one drop, which forEach hands to its visitor one
// by one, with the list drawn once at the end and one message box for all the
// refusals. Answers the first path given.
template <class TForEach>
TText AddFiles(TMainForm* f, TForEach forEach)
{
    TAdding adding = {f, TText(), TRefusals()};
    HoldDrawing(f->FileList);
    forEach(AddOneFile, &adding);
    ResumeDrawing(f->FileList);
    ShowListLengths(f);
    const TText message = RefusalMessage(adding.Refusals);
    if (!message.IsEmpty())
        ShowMessage(message);
    return adding.FirstPath;
}

// A cancel (code 0) shows nothing.
void ShowDialogFailure(DWORD code)
{
    char text[48];
    if (code == FNERR_BUFFERTOOSMALL) {
        ShowMessage("Too many files chosen at once - choose fewer, or drop them onto the window");
    } else if (code != 0) {
        wsprintfA(text, "The file dialog failed (error 0x%04X)", (unsigned)code);
        ShowMessage(text);
    }
}

} // namespace

void OnAddFile(void* context, TWidget*)
{
    TMainForm* f = static_cast<TMainForm*>(context);
    TFileDialog* dialog = f->VideoFileDialog;
    if (!RunFileDialog(dialog)) {
        ShowDialogFailure(dialog->Error);
        return;
    }
    // The next run offers the first file of this choice, as it does after a single
    // file, rather than the folder and names of a multiple choice.
    dialog->FileName = AddFiles(f, [dialog](auto visit, void* adding) {
        ForEachChosenFile(dialog->FileName, visit, adding);
    });
}

// Removes the selected files, the last first so that the indices still to come stay
// valid; the others keep their order. The extended-selection list box reports its
// caret item as current even when nothing is selected, so only the selection counts.
void OnRemoveFile(void* context, TWidget*)
{
    TMainForm* f = static_cast<TMainForm*>(context);
    TWidget* list = f->FileList;
    TJobSettings& job = JobSettings;
    HoldDrawing(list);
    for (int i = list->ItemCount() - 1; i >= 0; --i) {
        if (list->SendToWidget(LB_GETSEL, i, 0) <= 0)
            continue;
        job.RemovedIndex = i;
        const TText path = list->GetItemText(i);
        ListedFiles.Remove(path);
        FollowList(path, false);
        list->DeleteItem(i);
        --job.FileCount;
    }
    ResumeDrawing(list);
    ShowListLengths(f);
}

// While the run loop is active the main window's MessageEvent sees the messages of
// every control first.
bool OnMainWindowMessage(void* context, TMessageRecord& record, LRESULT& result)
{
    TMainForm* f = static_cast<TMainForm*>(context);
    if (record.Message == WM_DROPFILES) {
        AddFiles(f, [&record](auto visit, void* adding) { ForEachDroppedFile(record.WParam, visit, adding); });
    } else if (record.Message == WM_KEYDOWN && record.WParam == VK_DELETE && record.Window == f->FileList->Handle) {
        OnRemoveFile(f, f->FileList);
    } else {
        return false;
    }
    result = 0;
    return true;
}
