// The application run loop: shows the main form with all its windows, dispatches
// messages until the main form is closed, then destroys it.
#pragma once

#include "wol/Widget.h"

void RunMessageLoop(TWidget*& mainForm);
bool ProcessOneMessage(TWidget* widget);
void ProcessPendingMessages(TWidget* widget);
void FinishRun(TWidget*& mainForm);
