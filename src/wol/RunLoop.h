// TEMPORARY NOTE FROM THE LEAD (delete this block when you first edit this file):
// every engineer must read and follow /tmp/rules.txt before writing code.
// The application run loop: shows the main form with all its windows, dispatches
// messages until the main form is closed, then destroys it.
#pragma once

#include "wol/Widget.h"

void RunMessageLoop(TWidget*& mainForm);
bool ProcessOneMessage(TWidget* widget);
void ProcessPendingMessages(TWidget* widget);
void FinishRun(TWidget*& mainForm);
