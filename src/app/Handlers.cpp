// The main window's handlers: they read the user's choices from the controls, run
// the conversion job and show its results and messages.
#include "app/Handlers.h"

#include "app/ConversionWatch.h"
#include "app/ListLengths.h"
#include "app/MainForm.h"
#include "app/StoredSettings.h"
#include "job/ConversionScript.h"
#include "job/Estimate.h"
#include "job/JobSettings.h"
#include "wol/Dialogs.h"

namespace {

// The two web pages of the "Help" menu.
const char* const OnlineHelpAddress = "https://www.spindrel.example/videoguides/spindrel.html";
const char* const DownloadFlickAddress = "http://www.dvdflick.net/download.php";

TMainForm* Form(void* context) { return static_cast<TMainForm*>(context); }

// Puts a folder the user chose or typed through the checks every folder passes and
// reports a refusal. True when it is accepted: it is then in folder, ending in a
// backslash, and length holds the length it came with.
bool AcceptFolder(const TText& path, TText& folder, int& length)
{
    JobSettings.CheckedPath = path;
    if (const char* refusal = FolderRefusal(JobSettings.CheckedPath)) {
        ShowMessage(refusal);
        return false;
    }
    folder = path;
    length = folder.Length();
    if (folder.At(length) != '\\')
        folder += '\\';
    return true;
}

} // namespace

// The script switches to the DVD Flick folder's drive.
bool SetFlickPath(TMainForm* f, const TText& path)
{
    TJobSettings& job = JobSettings;
    if (!AcceptFolder(path, job.FlickPath, job.PathLength))
        return false;
    job.Drive = job.FlickPath.Left(2);
    f->FlickPathEdit->SetText(job.FlickPath);
    ShowListLengths(f, true);
    return true;
}

// The drive stays that of the DVD Flick folder: the script always switches to it.
bool SetOutputFolder(TMainForm* f, const TText& path)
{
    TJobSettings& job = JobSettings;
    if (!AcceptFolder(path, job.OutputFolder, job.OutputFolderLength))
        return false;
    job.ScriptPath = job.OutputFolder + "convert.bat";
    f->OutputFolderEdit->SetText(job.OutputFolder);
    return true;
}

namespace {

// "Start" uses the folders the boxes show: a text typed into one goes through the
// checks of a chosen folder. False when one is refused.
bool TakeTypedFolders(TMainForm* f)
{
    const TText flick = f->FlickPathEdit->GetText();
    if (flick != JobSettings.FlickPath && !SetFlickPath(f, flick))
        return false;
    const TText output = f->OutputFolderEdit->GetText();
    return output == JobSettings.OutputFolder || SetOutputFolder(f, output);
}

// The bitrate box that "Start" reads: the custom one while it is enabled.
TWidget* ActiveBitrateBox(TMainForm* f)
{
    return f->CustomBitrateEdit->IsEnabled() ? f->CustomBitrateEdit : f->BitrateCombo;
}

// The estimate follows the active bitrate box. The hidden trigger's event is fired
// rather than the trigger clicked: a click would take the keyboard focus from the
// box the user is typing in.
void RefreshEstimate(TMainForm* f)
{
    JobSettings.BitrateText = ActiveBitrateBox(f)->GetText();
    f->EstimateTrigger->FireClick();
}

// Reads everything "Start" writes into the script and writes it; the conversion
// keeps the files it is made of. The bitrate is the one ValidateStart accepted, in
// decimal.
TScriptResult WriteScriptFromWindow(TMainForm* f, TConversion& conversion)
{
    TJobSettings& job = JobSettings;
    for (int i = 0; i < conversion.Count; ++i)
        conversion.Inputs[i] = f->FileList->GetItemText(i);
    return WriteScript(job, f->AspectCombo->GetText(), f->FormatCombo->GetText(), job.BitrateText,
                       f->HalfD1Check->GetChecked() == 1, f->TwoPassCheck->GetChecked() == 1,
                       conversion.Inputs, conversion.Count, SystemJobPlatform(), conversion.Videos);
}

} // namespace

void OnStart(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    TJobSettings& job = JobSettings;
    // Typed folders come first: the encoder check needs the DVD Flick folder the
    // user sees, and a refused folder stops "Start" at its message.
    if (!TakeTypedFolders(f))
        return;
    TWidget* bitrateBox = ActiveBitrateBox(f);
    const TStartMessages messages =
        ValidateStart(job, bitrateBox == f->CustomBitrateEdit, bitrateBox->GetText(),
                      f->AspectCombo->GetText(), f->FormatCombo->GetText(), SystemJobPlatform());
    for (int i = 0; i < messages.Count; ++i)
        ShowMessage(messages.Items[i]);
    if (job.HasError)
        return;

    // A failed write or launch leaves the window as it is, with its list and
    // settings, so the user can mend the cause and start again.
    TConversion* conversion = new TConversion(job.FileCount, job.OutputFolder);
    const TScriptResult written = WriteScriptFromWindow(f, *conversion);
    if (!written.Succeeded()) {
        ShowMessage("Cannot write " + written.Path + ": " + written.Text + ".");
    } else if (!LaunchScript(job, SystemJobPlatform())) {
        ShowMessage("Cannot start " + job.ScriptPath + ": the shell refused to run it.");
    } else {
        f->MainWindow->SetWindowState(1);
        WatchConversion(f, conversion);
        StoreSettings(f);
        return;
    }
    delete conversion;
}

void UpdateEstimate(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    TText label43, label85;
    if (!ComputeEstimate(JobSettings, label43, label85))
        return;
    f->Dvd43Label->SetText(label43);
    f->Dvd85Label->SetText(label85);
    EstimateShown(f, JobSettings.BitrateValue);
}

void OnBitrateChange(void* context, TWidget*)
{
    RefreshEstimate(Form(context));
}

void OnCustomBitrateChange(void* context, TWidget*)
{
    RefreshEstimate(Form(context));
}

// A dialog answer without a file-system path counts as a cancel (RunFolderDialog).
void OnChangeFlickPath(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    if (RunFolderDialog(f->FlickFolderDialog))
        SetFlickPath(f, FolderPath(f->FlickFolderDialog));
}

void OnChangeOutputFolder(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    if (RunFolderDialog(f->OutputFolderDialog))
        SetOutputFolder(f, FolderPath(f->OutputFolderDialog));
}

void OnCustomToggle(void* context, TWidget*)
{
    TMainForm* f = Form(context);
    const bool custom = f->CustomCheck->GetChecked() == 1;
    f->BitrateCombo->SetEnabled(!custom);
    f->CustomBitrateEdit->SetEnabled(custom);
    RefreshEstimate(f);
}

void OnOnlineHelp(void*, TMenu*, int)
{
    SystemJobPlatform().ShellOpen(OnlineHelpAddress);
}

void OnDownloadFlick(void*, TMenu*, int)
{
    SystemJobPlatform().ShellOpen(DownloadFlickAddress);
}
