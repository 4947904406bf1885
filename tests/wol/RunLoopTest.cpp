// The application run loop: it shows the windows made during building,
// ends when the main form is closed, destroys the main form once and leaves no
// object of the layer alive; and it never waits for a quit that nobody will post.
#include "WolCoreTestSupport.h"

#include "wol/Controls.h"

#include <algorithm>

using namespace core;

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

// A plain window of another class that records what is dispatched to it.
std::vector<UINT> helperMessages;

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUIT || message == WM_NULL || message >= WM_APP)
        helperMessages.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeHelperWindow()
{
    WNDCLASSA description = {};
    description.lpfnWndProc = HelperProc;
    description.hInstance = GetModuleHandleA(nullptr);
    description.lpszClassName = "CoreTestHelper";
    RegisterClassA(&description);
    return CreateWindowExA(0, "CoreTestHelper", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Builds a main form as the program does (Parts 2.1, 3.5): placed and sized, which
// makes its window, hidden; a font that the controls copy; a group of controls; a
// control with its own bold font and one with its own colour, whose window is made
// early.
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

bool quitOnApp(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_APP)
        PostMessageA(widget->Handle, WM_CLOSE, 0, 0);
    return false;
}

}

TEST_F(RunLoop, ClosingTheMainFormEndsTheLoopAndFreesEveryObject)
{
    long before = LiveObjects();
    TWidget* form = BuildMainForm();
    EXPECT_GT(LiveObjects(), before + 10) << "widgets, lists and fonts are counted";
    HWND window = form->Handle;
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);

    RunMessageLoop(form);
    EXPECT_EQ(form, nullptr) << "the caller's variable is emptied";
    EXPECT_EQ(MainWidget, nullptr);
    EXPECT_FALSE(RunActive);
    EXPECT_TRUE(Terminating);
    EXPECT_FALSE(IsWindow(window));
    long after = LiveObjects();
    EXPECT_EQ(after, before) << "no object of the layer outlives the run";
    // Each control was freed right after its WM_DESTROY (in the order Windows
    // destroys the windows), the group's button with the group; the main form last.
    ASSERT_EQ(Events.size(), 4u);
    EXPECT_EQ(Events.back(), 100);
    EXPECT_TRUE(Died(1) && Died(2) && Died(3));
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the quit was taken";
}

TEST_F(RunLoop, TheLoopShowsTheWindowsMadeHiddenDuringBuilding)
{
    TWidget* form = BuildMainForm();
    TWidget* edit = reinterpret_cast<TWidget*>(form->Children->ItemAt(1));
    HWND formWindow = form->Handle;
    HWND editWindow = edit->Handle;
    ASSERT_FALSE(IsWindowVisible(formWindow));
    ASSERT_FALSE(GetWindowLongA(editWindow, GWL_STYLE) & WS_VISIBLE);
    bool formShown = false;
    bool editShown = false;
    struct Probe {
        bool* Form;
        bool* Edit;
        HWND FormWindow;
        HWND EditWindow;
    } probe = {&formShown, &editShown, formWindow, editWindow};
    form->MessageEvent = {[](void* context, TMessageRecord& record, LRESULT&) {
                              if (record.Message == WM_APP) {
                                  auto* p = static_cast<Probe*>(context);
                                  *p->Form = IsWindowVisible(p->FormWindow) != 0;
                                  *p->Edit = IsWindowVisible(p->EditWindow) != 0;
                                  PostMessageA(record.Window, WM_CLOSE, 0, 0);
                              }
                              return false;
                          },
                          &probe};
    PostMessageA(formWindow, WM_APP, 0, 0);
    RunMessageLoop(form);
    EXPECT_TRUE(formShown);
    EXPECT_TRUE(editShown);
}

TEST_F(RunLoop, AMainFormClosedByAHandlerEndsTheLoop)
{
    long before = LiveObjects();
    TWidget* form = BuildMainForm();
    form->AttachHandler(quitOnApp, false);
    PostMessageA(form->Handle, WM_APP, 0, 0);
    RunMessageLoop(form);
    EXPECT_EQ(form, nullptr);
    EXPECT_TRUE(Died(100));
    EXPECT_EQ(LiveObjects(), before);
}

TEST_F(RunLoop, MessagesQueuedBehindTheQuitAreStillDispatchedButNotTheQuit)
{
    TWidget* form = BuildMainForm();
    HWND helper = MakeHelperWindow();
    helperMessages.clear();
    PostMessageA(helper, WM_QUIT, 0, 0);   // a real queued quit, not PostQuitMessage
    PostMessageA(helper, WM_APP, 0, 0);
    PostMessageA(helper, WM_APP + 1, 0, 0);

    RunMessageLoop(form);
    EXPECT_EQ(helperMessages, (std::vector<UINT>{WM_APP, WM_APP + 1}));
    EXPECT_EQ(form, nullptr);
    EXPECT_TRUE(Died(100)) << "the main form is destroyed after the pass";
    DestroyWindow(helper);
}

TEST_F(RunLoop, OneMessageAtATimeAndANullMessageEndsThePass)
{
    HWND helper = MakeHelperWindow();
    DrainQueue();
    helperMessages.clear();
    EXPECT_FALSE(ProcessOneMessage(nullptr)) << "empty queue";

    PostMessageA(helper, WM_APP, 0, 0);
    EXPECT_TRUE(ProcessOneMessage(nullptr));
    PostMessageA(helper, WM_NULL, 0, 0);
    PostMessageA(helper, WM_APP + 1, 0, 0);
    ProcessPendingMessages(nullptr);
    EXPECT_EQ(helperMessages, (std::vector<UINT>{WM_APP, WM_NULL})) << "the pass ends at WM_NULL";
    ProcessPendingMessages(nullptr);
    EXPECT_EQ(helperMessages, (std::vector<UINT>{WM_APP, WM_NULL, WM_APP + 1}));

    PostMessageA(helper, WM_QUIT, 0, 0);
    EXPECT_TRUE(ProcessOneMessage(nullptr));
    EXPECT_TRUE(Terminating);
    EXPECT_EQ(helperMessages.size(), 3u) << "WM_QUIT is never dispatched";
    DestroyWindow(helper);
}

TEST_F(RunLoop, AMainFormWhoseWindowCannotBeMadeDoesNotLeaveTheLoopWaiting)
{
    long before = LiveObjects();
    TWidget* form = NewForm(nullptr, "Broken");
    form->Style |= WS_CHILD;   // a child window without a parent cannot be made
    AddDeathSentinel(form, 100);
    NewButton(form, "Never shown");
    RunMessageLoop(form);
    EXPECT_EQ(form, nullptr);
    EXPECT_TRUE(Died(100));
    EXPECT_EQ(LiveObjects(), before);
}

TEST_F(RunLoop, AMainWindowDestroyedWithoutClosingDoesNotLeaveTheLoopWaiting)
{
    TWidget* form = BuildMainForm();
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

TEST_F(RunLoop, FinishRunDestroysTheMainFormOnce)
{
    TWidget* form = BuildMainForm();
    TWidget* copy = form;
    RunActive = true;
    FinishRun(form);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(MainWidget, nullptr);
    EXPECT_FALSE(RunActive);
    EXPECT_TRUE(Terminating);
    EXPECT_EQ(std::count(Events.begin(), Events.end(), 100), 1);
    form = copy;   // a stale variable: MainWidget is empty, so nothing is freed again
    FinishRun(form);
    EXPECT_EQ(form, copy);
    EXPECT_EQ(std::count(Events.begin(), Events.end(), 100), 1);
}
