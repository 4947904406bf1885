// Shared set-up of the core layer's GUI tests (dispatch, geometry, run loop, fonts
// and colours): widgets made by hand from NewWidget, a fixture that resets the
// layer's process-wide state, records of what handlers and windows saw, and a
// count of live heap objects to prove that nothing outlives a run.
#pragma once

#include "wol/RunLoop.h"
#include "wol/Widget.h"

#include <gtest/gtest.h>

#include <vector>

namespace core {

// Objects made with operator new and not yet deleted, in this whole program
// (WolCoreTestSupport.cpp counts them). Every object of the layer is made with
// new; texts and list storage use malloc and are not counted.
long LiveObjects();

// A form made by hand, without the standard handlers that NewForm attaches.
TWidget* MakeForm(const char* caption = "Core Test Form");
// A control of a system class, placed at (x, y) with size (w, h) in its parent.
TWidget* MakeControl(TWidget* parent, const char* className, DWORD style, UINT id,
                     int x = 4, int y = 4, int w = 80, int h = 24);
inline TWidget* MakeButton(TWidget* parent, UINT id)
{
    return MakeControl(parent, "BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, id);
}

// Makes every window of the form's tree as CreateWindow does, but leaves the form
// itself hidden. Tests that need no visible window use it, so that they neither
// show nor hide a top-level window (which Wine without a window manager may make
// wait for an answer that never comes).
inline bool MakeWindowsHidden(TWidget* form)
{
    if (!form->GetHandle())
        return false;
    form->CreateChildWindows();
    return true;
}

// The order in which things happened: ids appended by sentinels and loggers.
extern std::vector<int> Events;

// Appends id to Events when owner is destroyed (an owned routine: it runs in the
// owner's ReleaseOwned, that is when its destruction starts).
void AddDeathSentinel(TRefObject* owner, int id);
bool Died(int id);

// Appends id to Events when the window receives WM_DESTROY (window subclassing,
// which sees the message even after the widget has cut the window loose).
void LogWindowDestroy(HWND window, int id);

// A handler that appends every message its widget sees to Seen, with the widget.
struct SeenMessage {
    TWidget* Widget;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};
extern std::vector<SeenMessage> Seen;
bool RecordMessage(TWidget* widget, TMessageRecord& record, LRESULT& result);
int CountSeen(TWidget* widget, UINT message);

// Replaces the widget's BaseWndProc by a recorder of what reaches default
// processing (DefaultCalls), which then passes the message on as before.
extern std::vector<UINT> DefaultCalls;
void RecordDefaultProcessing(TWidget* widget);

// Dispatches everything queued for this thread, WM_QUIT included (taken, not acted on).
void DrainQueue();

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

}
