// The application run loop: makes and shows every window of the main form, sleeps in
// WaitMessage and drains the queue after each wake until WM_QUIT has been taken, then
// destroys the main form.
#include "wol/RunLoop.h"

namespace {

// True while the main form still has a window that can post the quit: a main form
// whose window could not be made, or was destroyed without WM_CLOSE, never will.
bool MainWindowAlive()
{
    return MainWidget && MainWidget->Handle && IsWindow(MainWidget->Handle);
}

}

void RunMessageLoop(TWidget*& mainForm)
{
    RunActive = true;
    MainWidget = mainForm;
    if (mainForm)
        mainForm->CreateWindow();
    while (!Terminating && MainWindowAlive()) {
        WaitMessage();
        ProcessPendingMessages(mainForm);
    }
    if (mainForm)
        FinishRun(mainForm);
}

// Takes and dispatches at most one message of the thread's queue. WM_QUIT is taken
// but never dispatched; it marks the run as terminating. Answers false when the
// queue was empty or the message was WM_NULL, which ends the current pass.
bool ProcessOneMessage(TWidget*)
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        Terminating = true;
    } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (message.message & 0xFFFF) != 0;
}

void ProcessPendingMessages(TWidget* widget)
{
    while (ProcessOneMessage(widget)) {
    }
}

// Ends the run and destroys the main form, once: MainWidget and the caller's
// variable are emptied before the form is freed, so nothing reaches it afterwards.
// Its destruction releases every control, font, menu and dialog it owns.
void FinishRun(TWidget*& mainForm)
{
    Terminating = true;
    RunActive = false;
    TWidget* form = MainWidget;
    MainWidget = nullptr;
    if (!form)
        return;
    mainForm = nullptr;
    Free(form);
}
