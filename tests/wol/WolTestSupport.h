// Shared set-up of the layer's GUI tests: widgets made by hand from NewWidget or
// through the control constructors, fixtures that reset the layer's process-wide
// state, records of what handlers and windows saw, and a count of live heap
// objects to prove that nothing outlives a run.
#pragma once

#include "support/GuiTestWin32.h"
#include "wol/Controls.h"
#include "wol/RunLoop.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Texts in failure messages as text.
inline void PrintTo(const TText& text, std::ostream* out) { *out << '"' << text.CStr() << '"'; }

// Objects made with operator new and not yet deleted in this program (every
// object of the layer; texts and list storage use malloc and are not counted).
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
inline TWidget* MakeGroup(TWidget* parent, UINT id)
{
    return MakeControl(parent, "BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, id, 4, 4, 150, 150);
}

// Makes every window of the form's tree but leaves the form hidden: Wine without
// a window manager may make showing or hiding a top-level window wait for an
// answer that never comes.
inline bool MakeWindowsHidden(TWidget* form)
{
    if (!form->GetHandle())
        return false;
    form->CreateChildWindows();
    return true;
}

// The order in which things happened: ids appended by sentinels and loggers.
extern std::vector<int> Events;
// Appends id to Events when owner's destruction starts (an owned routine).
void AddDeathSentinel(TRefObject* owner, int id);
bool Died(int id);
// Appends id to Events when the window receives WM_DESTROY, even after the widget
// has cut the window loose.
void LogWindowDestroy(HWND window, int id);

// A handler that appends every message its widget sees to Seen.
struct SeenMessage {
    TWidget* Widget;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};
extern std::vector<SeenMessage> Seen;
bool RecordMessage(TWidget* widget, TMessageRecord& record, LRESULT& result);
int CountSeen(TWidget* widget, UINT message);

// Puts a recorder of what reaches default processing in front of the widget's
// BaseWndProc; CountDefault tells how often a message got there.
void RecordDefaultProcessing(TWidget* widget);
int CountDefault(UINT message);

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A main form made by NewForm, with real windows once shown, freed at the end.
class FormTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        Form = NewForm(nullptr, "Wol Test Form");
        Form->SetPosition(120, 100);
        Form->SetClientSize(480, 360);
        MainWidget = Form;
    }

    void TearDown() override
    {
        MainWidget = nullptr;
        Free(Form);
        CoreTest::TearDown();
    }

    // Makes every window of the form's tree, shows it and brings it to the front.
    void Show()
    {
        ASSERT_TRUE(Form->CreateWindow());
        ASSERT_TRUE(gui::BringToFront(Form->Handle));
        gui::PumpUntilIdle();
    }

    TWidget* Form = nullptr;
};

inline void CountCall(void* counter, TWidget*) { ++*static_cast<int*>(counter); }

// An event handler that counts its calls in counter.
inline TEventHandler Counter(int& counter) { return TEventHandler{CountCall, &counter}; }
