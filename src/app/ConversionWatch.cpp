#include "app/ConversionWatch.h"

#include "wol/Dialogs.h"

namespace {

const UINT_PTR WatchTimer = 1;

// Owned: the conversion watched last.
TConversion* Watched = nullptr;

// Once a second while the conversion runs, on the window's timer, which goes with
// the window: no thread is left behind, and a busy conversion costs a read of its
// record.
void CALLBACK OnWatchTimer(HWND window, UINT, UINT_PTR, DWORD)
{
    TWidget* main = MainForm->MainWindow;
    TConversion& watched = *Watched;
    TJobPlatform& platform = SystemJobPlatform();
    if (platform.IsShellRunActive()) {
        watched.ReadRecord(platform);
        // The progress goes into the window's text only: the form's caption, which
        // message boxes take for their title, stays the program's name.
        TText title;
        AppendProgress(title, watched.Started, watched.Count);
        title += main->Caption;
        main->SendToWidget(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.Data()));
        return;
    }
    KillTimer(window, WatchTimer);
    main->SetText(main->Caption);
    // Restored without activation: the user may be busy in another program, whose
    // foreground stays; the taskbar button flashes until the user comes back.
    if (main->WindowState == 1)
        main->SetWindowState(0);
    FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
    ShowMessage(ConversionReport(watched, platform));
}

}

void WatchConversion(TMainForm* form, TConversion* conversion)
{
    delete Watched;
    Watched = conversion;
    SetTimer(form->MainWindow->GetHandle(), WatchTimer, 1000, OnWatchTimer);
}
