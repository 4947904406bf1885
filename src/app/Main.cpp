// Program entry: build the main window, give it the stored settings, run it until it
// is closed, end with 0.
#include "app/LastChance.h"
#include "app/MainForm.h"
#include "app/StoredSettings.h"
#include "wol/RunLoop.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    InstallLastChanceReport();
    BuildMainForm(MainForm, nullptr);
    RestoreSettings(MainForm);
    RunMessageLoop(MainForm->MainWindow);
    return 0;
}
