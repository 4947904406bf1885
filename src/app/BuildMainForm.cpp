// The composition of the main window. The order of creation is significant: it
// fixes the release order of the owned-object lists, the control identifiers
// (0x8000 to 0x801A) and which control first holds the focus.
#include "app/Handlers.h"
#include "app/ListLengths.h"
#include "app/MainForm.h"
#include "job/EncoderCommands.h"
#include "job/JobSettings.h"
#include "wol/Controls.h"
#include "wol/Dialogs.h"
#include "wol/DroppedFiles.h"
#include "wol/Menu.h"

TMainForm* MainForm;

namespace {

// Places a new control in its parent's client area; a 0 keeps the size that
// creation gave.
TWidget* Place(TWidget* control, int left, int top, int width, int height)
{
    return control->SetPosition(left, top)->SetSize(width, height);
}

TWidget* PlaceGroup(TWidget* window, const char* caption, int top, int width, int height)
{
    TWidget* group = Place(NewGroupBox(window, caption), 0, top, width, height);
    group->TabStop = false;
    return group;
}

// A combo box filled with its items, the first one current.
TWidget* PlaceCombo(TWidget* parent, int left, int width, int height,
                    const char* const* items, int count)
{
    TWidget* combo = Place(NewComboBox(parent, 16), left, 48, width, height);
    combo->SetColor(clWindow);
    for (int i = 0; i < count; ++i)
        combo->SetItemText(i, items[i]);
    combo->SetCurIndex(0);
    return combo;
}

void Wire(TEventHandler& event, void (*routine)(void*, TWidget*), TMainForm* form)
{
    event.Routine = routine;
    event.Context = form;
}

void BuildMenu(TMainForm* form)
{
    static const char* const menuTemplate[] = {
        "Help", "(", "Online Help", "Download DVD Flick", ")", ""};
    form->MainMenu = NewMenu(form->MainWindow, menuTemplate, 5, TMenuHandler{});
    const TMenuHandler help = {OnOnlineHelp, form};
    SetItemHandlers(form->MainMenu, 1, &help, 0);
    const TMenuHandler download = {OnDownloadFlick, form};
    SetItemHandlers(form->MainMenu, 2, &download, 0);
}

void BuildDialogs(TMainForm* form)
{
    TWidget* window = form->MainWindow;
    form->FlickFolderDialog = NewFolderDialog("Select a DVD Flick Folder", 0);
    window->AddOwned(form->FlickFolderDialog);
    form->OutputFolderDialog = NewFolderDialog("Select an Output Folder", 0);
    window->AddOwned(form->OutputFolderDialog);
    form->VideoFileDialog = NewFileDialog("Select a Video File", "", 0);
    form->VideoFileDialog->Filter = "All Files|*.*";
    form->VideoFileDialog->Options |= FileOptionMultiSelect;
    window->AddOwned(form->VideoFileDialog);
}

void BuildControls(TMainForm* f)
{
    TWidget* window = f->MainWindow;

    f->FlickPathGroup = PlaceGroup(window, " DVD Flick Path ", 0, 500, 60);
    f->ChangeFlickPathButton = Place(NewButton(f->FlickPathGroup, "Change DVD Flick Path"), 304, 24, 176, 24);
    f->FlickPathEdit = Place(NewEditBox(f->FlickPathGroup, 0), 8, 24, 288, 24);
    f->FlickPathEdit->SetText("C:\\Program Files\\DVD Flick\\");

    f->OutputGroup = PlaceGroup(window, " Output Folder ", 64, 500, 60);
    f->OutputFolderEdit = Place(NewEditBox(f->OutputGroup, 0), 8, 24, 288, 24);
    f->OutputFolderEdit->SetText("C:\\");
    f->OutputFolderButton = Place(NewButton(f->OutputGroup, "Output Folder"), 304, 24, 176, 24);

    f->VideoFilesGroup = PlaceGroup(window, " Video Files ", 128, 500, 201);
    f->FileList = Place(NewListBox(f->VideoFilesGroup, 16), 8, 24, 480, 128);
    f->FileList->SetColor(clWindow);
    f->FileList->SetCurIndex(0);
    f->AddFileButton = Place(NewButton(f->VideoFilesGroup, "Add Video File"), 8, 160, 105, 24);
    f->RemoveButton = Place(NewButton(f->VideoFilesGroup, "Remove"), 120, 160, 73, 24);

    f->SettingsGroup = PlaceGroup(window, " Video Conversion Settings ", 332, 497, 128);
    TWidget* settings = f->SettingsGroup;
    f->AspectLabel = Place(NewLabel(settings, "Aspect Ratio:"), 8, 24, 96, 24);
    f->FormatLabel = Place(NewLabel(settings, "Format:"), 104, 24, 0, 24);
    f->BitrateLabel = Place(NewLabel(settings, "Bitrate: (kBits)"), 184, 24, 97, 24);
    f->AspectCombo = PlaceCombo(settings, 8, 64, 0, AspectChoices, ChoiceCount);
    f->FormatCombo = PlaceCombo(settings, 104, 64, 0, FormatChoices, ChoiceCount);
    static const char* const bitrates[] = {
        "1000", "2000", "3000", "4000", "5000", "6000", "7000", "8000", "9000"};
    f->BitrateCombo = PlaceCombo(settings, 184, 64, 24, bitrates, 9);
    f->CustomCheck = Place(NewCheckBox(settings, "Custom:"), 288, 24, 81, 0);
    f->CustomBitrateEdit = Place(NewEditBox(settings, 0), 288, 48, 64, 0);
    f->HalfD1Check = Place(NewCheckBox(settings, "Half horizontal resolution (Half-D1)"), 8, 76, 249, 24);
    f->StartButton = Place(NewButton(settings, "Start"), 384, 32, 97, 76);
    SetFontStyle(f->StartButton->GetFont(), fsBold);
    SetFontPitch(f->StartButton->GetFont(), FIXED_PITCH);
    f->TwoPassCheck = Place(NewCheckBox(settings, "2 Pass Conversion"), 8, 98, 161, 0);
    f->TwoPassCheck->SetChecked(true);

    f->EstimateGroup = PlaceGroup(window, " Estimated Video Length (Maximum) ", 464, 497, 86);
    f->Dvd43Label = Place(NewLabel(f->EstimateGroup, "DVD 4,3 GB:"), 8, 24, 224, 24);
    f->Dvd85Label = Place(NewLabel(f->EstimateGroup, "DVD 8,5 GB:"), 248, 24, 217, 24);
    f->EstimateTrigger = Place(NewCheckBox(f->EstimateGroup, ""), 472, 24, 16, 24);
    f->EstimateTrigger->SetChecked(true);
    // Made last, so that the controls before it keep their identifiers. Two lines
    // high: a long text wraps.
    f->LengthsLabel = Place(NewLabel(f->EstimateGroup, ""), 8, 48, 480, 32);
    f->LengthsLabel->Style &= ~SS_TYPEMASK;
}

void WireEvents(TMainForm* f)
{
    Wire(f->ChangeFlickPathButton->ClickEvent, OnChangeFlickPath, f);
    Wire(f->EstimateTrigger->ClickEvent, UpdateEstimate, f);
    f->OutputFolderEdit->SetColor(clWindow);
    Wire(f->OutputFolderButton->ClickEvent, OnChangeOutputFolder, f);
    Wire(f->AddFileButton->ClickEvent, OnAddFile, f);
    Wire(f->RemoveButton->ClickEvent, OnRemoveFile, f);
    f->FlickPathEdit->SetColor(clWindow);
    HWND owner = f->MainWindow->GetHandle();
    f->FlickFolderDialog->Owner = owner;
    f->OutputFolderDialog->Owner = owner;
    f->VideoFileDialog->Owner = owner;
    Wire(f->BitrateCombo->ChangeEvent, OnBitrateChange, f);
    Wire(f->CustomCheck->ClickEvent, OnCustomToggle, f);
    f->CustomBitrateEdit->SetColor(clWindow);
    Wire(f->CustomBitrateEdit->ChangeEvent, OnCustomBitrateChange, f);
    Wire(f->StartButton->ClickEvent, OnStart, f);
    f->MainWindow->MessageEvent = {OnMainWindowMessage, f};
    StartListLengths(f);
    AcceptDroppedFiles(f->MainWindow);
}

} // namespace

void BuildMainForm(TMainForm*& place, TWidget* parent)
{
    // Stored at once, so that handlers running later in construction reach it.
    TMainForm* form = NewObject<TMainForm>();
    place = form;

    // Measuring the client area makes the main window's window, hidden.
    form->MainWindow = NewForm(parent, "Spindrel")->SetPosition(202, 110)->SetClientSize(504, 580);
    MainWidget = form->MainWindow;
    form->MainWindow->AddOwned(form);

    BuildMenu(form);
    BuildDialogs(form);
    BuildControls(form);
    WireEvents(form);
    InitJobSettings(JobSettings);

    // Start state. The preset is selected by the program, which raises no change
    // event; the hidden trigger's click event fills both estimate labels. It is
    // fired, not clicked, so that the focus stays on "Output Folder".
    form->CustomBitrateEdit->SetEnabled(false);
    form->OutputFolderButton->Focus(true);
    form->BitrateCombo->SetItemSelected(8, true);
    form->EstimateTrigger->SetVisible(false);
    form->EstimateTrigger->FireClick();
}
