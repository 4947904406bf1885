// The user's folders and settings kept between runs in Spindrel.ini.
#pragma once

class TMainForm;

// At start-up, once the window is built: gives each stored value that passes the
// checks of a chosen or typed one to its control, and has the settings stored when
// the main window closes.
void RestoreSettings(TMainForm* form);

// Writes the folders and settings the window holds; after a Start that launched a
// conversion, and when the main window closes.
void StoreSettings(TMainForm* form);
