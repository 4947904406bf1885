// The main window's event handlers. Each gets the TMainForm as its context and
// reaches every control through it; the job state lives in JobSettings.
#pragma once

#include "wol/Menu.h"
#include "wol/Widget.h"

class TMainForm;

// The DVD Flick folder and the output folder: each goes through the checks of a
// folder, whose refusal is shown, and is shown in its box; true when it is accepted.
bool SetFlickPath(TMainForm* f, const TText& path);
bool SetOutputFolder(TMainForm* f, const TText& path);

void OnStart(void* context, TWidget* sender);
void UpdateEstimate(void* context, TWidget* sender);
void OnBitrateChange(void* context, TWidget* sender);
void OnCustomBitrateChange(void* context, TWidget* sender);
void OnChangeFlickPath(void* context, TWidget* sender);
void OnChangeOutputFolder(void* context, TWidget* sender);
void OnAddFile(void* context, TWidget* sender);
void OnRemoveFile(void* context, TWidget* sender);
// The main window's MessageEvent: files dropped onto the window, Delete in the list.
bool OnMainWindowMessage(void* context, TMessageRecord& record, LRESULT& result);
void OnCustomToggle(void* context, TWidget* sender);
void OnOnlineHelp(void* context, TMenu* root, int itemIndex);
void OnDownloadFlick(void* context, TMenu* root, int itemIndex);
