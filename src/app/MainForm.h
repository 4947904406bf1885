// TMainForm: the one record through which the program reaches its window. It is
// the main window's first owned object, so it is released before the menu, the
// dialogs and the controls it refers to. Every field is a plain reference (not
// owned): the main window and the group boxes own what they hold.
#pragma once

#include "wol/Dialogs.h"
#include "wol/Menu.h"
#include "wol/RefObject.h"
#include "wol/Widget.h"

class TMainForm : public TRefObject {
public:
    TWidget* MainWindow;
    TWidget* FlickPathGroup;
    TWidget* ChangeFlickPathButton;
    TWidget* FlickPathEdit;
    TFolderDialog* FlickFolderDialog;
    TMenu* MainMenu;
    TWidget* OutputGroup;
    TWidget* OutputFolderEdit;
    TWidget* OutputFolderButton;
    TFolderDialog* OutputFolderDialog;
    TWidget* VideoFilesGroup;
    TWidget* AddFileButton;
    TFileDialog* VideoFileDialog;
    TWidget* FileList;
    TWidget* RemoveButton;
    TWidget* SettingsGroup;
    TWidget* AspectLabel;
    TWidget* FormatLabel;
    TWidget* AspectCombo;
    TWidget* FormatCombo;
    TWidget* BitrateLabel;
    TWidget* BitrateCombo;
    TWidget* CustomCheck;
    TWidget* CustomBitrateEdit;
    TWidget* HalfD1Check;
    TWidget* StartButton;
    TWidget* TwoPassCheck;
    TWidget* EstimateGroup;
    TWidget* Dvd43Label;
    TWidget* Dvd85Label;
    TWidget* EstimateTrigger;
    TWidget* LengthsLabel;
};

// The program-wide reference to the one TMainForm; empty until BuildMainForm.
extern TMainForm* MainForm;

// Builds the main window with its menu, dialogs and controls, wires the handlers
// and gives everything its start state. The window exists, hidden, afterwards.
void BuildMainForm(TMainForm*& place, TWidget* parent);
