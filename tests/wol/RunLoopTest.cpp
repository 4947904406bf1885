// The application run loop: it shows the windows made during building, ends when
// the main form is closed, destroys the main form and leaves no object of the layer
// alive; and it never waits for a quit that nobody will post.
#include "WolTestSupport.h"

namespace {

class RunLoop : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        WatchdogFired = false;
        // Ends a loop that would otherwise wait for ever, and fails the test.
        Watchdog = SetTimer(nullptr, 0, 10000, OnWatchdog);
    }
    void TearDown() override
    {
        KillTimer(nullptr, Watchdog);
        EXPECT_FALSE(WatchdogFired) << "the run loop had to be ended from outside";
        CoreTest::TearDown();
    }
    static void CALLBACK OnWatchdog(HWND, UINT, UINT_PTR, DWORD)
    {
        WatchdogFired = true;
        PostQuitMessage(0);
    }
    static bool WatchdogFired;
    UINT_PTR Watchdog = 0;
};

bool RunLoop::WatchdogFired = false;

// Builds a main form as the program does: placed and sized, which makes its window,
// hidden; a font that the controls copy; a group of controls; a control with its
// own bold font and one with its own colour, whose window is made early.
TWidget* BuildMainForm()
{
    TWidget* form = NewForm(nullptr, "Main");
    AddDeathSentinel(form, 100);
    form->SetPosition(60, 60)->SetClientSize(320, 240);
    MainWidget = form;
    form->GetFont();
    TWidget* group = NewGroupBox(form, "Group");
    group->SetSize(200, 200);
    AddDeathSentinel(group, 1);
    TWidget* button = NewButton(group, "Press");
    AddDeathSentinel(button, 2);
    TWidget* edit = NewEditBox(form, 0);
    edit->SetPosition(210, 4);
    AddDeathSentinel(edit, 3);
    SetFontStyle(button->GetFont(), fsBold);
    edit->SetColor(RGB(1, 2, 3));   // makes its window, hidden
    edit->GetBackBrush();
    return form;
}

HWND formWindow, editWindow;
bool formShown, editShown;

bool CloseOnApp(void*, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_APP) {
        formShown = IsWindowVisible(formWindow) != 0;
        editShown = IsWindowVisible(editWindow) != 0;
        PostMessageA(record.Window, WM_CLOSE, 0, 0);
    }
    return false;
}

}

TEST_F(RunLoop, TheLoopShowsTheWindowsAndClosingTheMainFormEndsItAndFreesEveryObject)
{
    const long before = LiveObjects();
    TWidget* form = BuildMainForm();
    EXPECT_GT(LiveObjects(), before + 10) << "widgets, lists and fonts are counted";
    formWindow = form->Handle;
    editWindow = reinterpret_cast<TWidget*>(form->Children->ItemAt(1))->Handle;
    ASSERT_FALSE(IsWindowVisible(formWindow));
    ASSERT_FALSE(GetWindowLongA(editWindow, GWL_STYLE) & WS_VISIBLE);
    formShown = editShown = false;
    form->MessageEvent = {CloseOnApp, nullptr};
    PostMessageA(formWindow, WM_APP, 0, 0);

    RunMessageLoop(form);
    EXPECT_TRUE(formShown);
    EXPECT_TRUE(editShown);
    EXPECT_EQ(form, nullptr) << "the caller's variable is emptied";
    EXPECT_EQ(MainWidget, nullptr);
    EXPECT_FALSE(RunActive);
    EXPECT_TRUE(Terminating);
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_EQ(LiveObjects(), before) << "no object of the layer outlives the run";
    // Each control was freed right after its WM_DESTROY (in the order Windows
    // destroys the windows), the group's button with the group; the main form last.
    ASSERT_EQ(Events.size(), 4u);
    EXPECT_EQ(Events.back(), 100);
    EXPECT_TRUE(Died(1) && Died(2) && Died(3));
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the quit was taken";
}

TEST_F(RunLoop, AMainFormWithoutAWindowDoesNotLeaveTheLoopWaiting)
{
    const long before = LiveObjects();
    TWidget* form = NewForm(nullptr, "Broken");
    form->Style |= WS_CHILD;   // a child window without a parent cannot be made
    AddDeathSentinel(form, 100);
    NewButton(form, "Never shown");
    RunMessageLoop(form);
    EXPECT_EQ(form, nullptr);
    EXPECT_TRUE(Died(100));
    EXPECT_EQ(LiveObjects(), before);

    // Nor one whose window is destroyed without closing.
    Terminating = false;
    Events.clear();
    form = BuildMainForm();
    form->MessageEvent = {[](void*, TMessageRecord& record, LRESULT&) {
                              if (record.Message == WM_APP)
                                  DestroyWindow(record.Window);
                              return false;
                          },
                          nullptr};
    PostMessageA(form->Handle, WM_APP, 0, 0);
    RunMessageLoop(form);
    EXPECT_EQ(form, nullptr);
    EXPECT_TRUE(Died(100));
}

