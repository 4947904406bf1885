// Watching the conversion that "Start" launched: while it runs the main window's
// title shows which file it is at; when it has ended the window comes back and
// says what became of every file.
#pragma once

#include "app/MainForm.h"
#include "job/ConversionReport.h"

// Watches conversion (owned from now on; kept until the next one) in place of any
// watched before. Closing the window ends the watching, not the conversion.
void WatchConversion(TMainForm* form, TConversion* conversion);
