// The main window's handlers: they read the user's choices from the controls, run
// the conversion job and show its results and messages.
#include "app/Handlers.h"

#include "app/MainForm.h"
#include "job/ConversionScript.h"
#include "job/Estimate.h"
#include "job/JobSettings.h"
#include "wol/Dialogs.h"

namespace {

// The two web pages of the "Help" menu.
const char* const OnlineHelpAddress = "https://www.spindrel.example/videoguides/spindrel.html";
const char* const DownloadFlickAddress = "http://www.dvdflick.net/download.php";

TMainForm* Form(void* context) { return static_cast<TMainForm*>(context); }

// Runs a folder dialog. True when the user chose a folder without foreign
// characters: it is then in folder, ending in a backslash, and length holds the
// length it was chosen with.
bool ChooseFolder(TFolderDialog* dialog, TText& folder, int& length)
{
    if (!RunFolderDialog(dialog))
        return false;
    JobSettings.CheckedPath = FolderPath(dialog);
    if (HasForeignCharacters(JobSettings.CheckedPath)) {
        ShowMessage("Please do not use foreign characters in path names");
        return false;
    }
    folder = FolderPath(dialog);
    length = folder.Length();
    if (folder.At(length) != '\\')
        folder += '\\';
    return true;
}

// Reads everything "Start" writes into the script and writes it.
TScriptResult WriteScriptFromWindow(TMainForm* f)
{
    TJobSettings& job = JobSettings;
    TText* paths = new TText[job.FileCount];
    for (int i = 0; i < job.FileCount; ++i)
        paths[i] = f->FileList->GetItemText(i);
    TScriptResult result = WriteScript(job, f->AspectCombo->GetText(), f->FormatCombo->GetText(),
                                       f->BitrateCombo->GetText(), f->HalfD1Check->GetChecked() == 1,
                                       f->TwoPassCheck->GetChecked() == 1, paths, job.FileCount,
                                       SystemJobPlatform());
    delete[] paths;
    return result;
}

} // namespace

void OnStart(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    TJobSettings& job = JobSettings;
    const bool custom = f->CustomBitrateEdit->IsEnabled();
    const TText customText = custom ? f->CustomBitrateEdit->GetText() : TText();
    const TStartMessages messages = ValidateStart(job, custom, customText, SystemJobPlatform());
    for (int i = 0; i < messages.Count; ++i)
        ShowMessage(messages.Items[i]);
    if (job.HasError)
        return;

    // A failed write or launch leaves the window as it is, with its list and
    // settings, so the user can mend the cause and start again.
    const TScriptResult written = WriteScriptFromWindow(f);
    if (!written.Succeeded()) {
        ShowMessage("Cannot write " + job.ScriptPath + ": " + written.Text + ".");
        return;
    }
    if (!LaunchScript(job, SystemJobPlatform())) {
        ShowMessage("Cannot start " + job.ScriptPath + ": the shell refused to run it.");
        return;
    }
    f->MainWindow->SetWindowState(1);
}

void UpdateEstimate(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    TText label43, label85;
    if (!ComputeEstimate(JobSettings, label43, label85))
        return;
    f->Dvd43Label->SetText(label43);
    f->Dvd85Label->SetText(label85);
}

void OnBitrateChange(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    JobSettings.BitrateText = f->BitrateCombo->GetText();
    f->EstimateTrigger->Click();
}

// Only a text of exactly four characters refreshes the estimate.
void OnCustomBitrateChange(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    const TText& text = f->CustomBitrateEdit->GetText();
    if (text.Length() != 4)
        return;
    JobSettings.BitrateText = text;
    f->EstimateTrigger->Click();
}

void OnChangeFlickPath(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    TJobSettings& job = JobSettings;
    if (!ChooseFolder(f->FlickFolderDialog, job.FlickPath, job.PathLength))
        return;
    job.Drive = job.FlickPath.Left(2);
    f->FlickPathEdit->SetText(job.FlickPath);
}

// The drive stays that of the DVD Flick folder: the script always switches to it.
void OnChangeOutputFolder(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    TJobSettings& job = JobSettings;
    if (!ChooseFolder(f->OutputFolderDialog, job.OutputFolder, job.OutputFolderLength))
        return;
    job.ScriptPath = job.OutputFolder + "convert.bat";
    f->OutputFolderEdit->SetText(job.OutputFolder);
}

void OnCustomToggle(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    const bool custom = f->CustomCheck->GetChecked() == 1;
    f->BitrateCombo->SetEnabled(!custom);
    f->CustomBitrateEdit->SetEnabled(custom);
}

void OnOnlineHelp(void*, TMenu*, int)
{
    SystemJobPlatform().ShellOpen(OnlineHelpAddress);
}

void OnDownloadFlick(void*, TMenu*, int)
{
    SystemJobPlatform().ShellOpen(DownloadFlickAddress);
}
