// The application run loop: it shows the windows made during building, ends when
// the main form is closed, destroys it and leaves no object of the layer alive; and
// it never waits for a quit that nobody will post.
#include "WolTestSupport.h"

namespace {

using RunLoop = WolTest;

bool watchdogFired = false, shown = false;
HWND editWindow;

// Ends a loop that would otherwise wait for ever, and fails the test.
void CALLBACK OnWatchdog(HWND, UINT, UINT_PTR, DWORD)
{
    watchdogFired = true;
    PostQuitMessage(0);
}

// A main form built as the program builds one: placed and sized, which makes its
// window, hidden; a font that its controls copy, one of them bold; a control with
// its own colour, whose window is made early. On WM_APP it does what action does.
TWidget* MainForm(bool (*action)(void*, TMessageRecord&, LRESULT&))
{
    TWidget* form = NewForm(nullptr, "Main");
    AddDeathSentinel(form, 100);
    form->SetPosition(60, 60)->SetClientSize(320, 240);
    form->GetFont();
    TWidget* group = NewGroupBox(form, "Group");
    AddDeathSentinel(group, 1);
    AddDeathSentinel(NewButton(group, "Press"), 2);
    SetFontStyle(((TWidget*)group->Children->ItemAt(0))->GetFont(), fsBold);
    TWidget* edit = NewEditBox(form, 0);
    edit->SetPosition(210, 4);
    AddDeathSentinel(edit, 3);
    edit->SetColor(RGB(1, 2, 3));
    editWindow = edit->Handle;
    form->MessageEvent = {action, nullptr};
    PostMessageA(form->Handle, WM_APP, 0, 0);
    return form;
}

}

TEST_F(RunLoop, ShowsTheWindowsEndsWhenTheMainFormClosesAndFreesEverything)
{
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, OnWatchdog);
    MainWidget = nullptr;
    FreeAndClear(Form);
    const long before = LiveObjects();
    TWidget* form = MainForm([](void*, TMessageRecord& record, LRESULT&) {
        shown = record.Message != WM_APP ? shown : IsWindowVisible(record.Window) && IsWindowVisible(editWindow);
        if (record.Message == WM_APP)
            PostMessageA(record.Window, WM_CLOSE, 0, 0);
        return false;
    });
    const HWND window = form->Handle;
    EXPECT_FALSE(IsWindowVisible(window) || IsWindowVisible(editWindow));
    EXPECT_GT(LiveObjects(), before + 10) << "widgets, lists and fonts are counted";
    RunMessageLoop(form);
    EXPECT_TRUE(shown);
    EXPECT_EQ(form, nullptr) << "the caller's variable is emptied";
    EXPECT_EQ(MainWidget, nullptr);
    EXPECT_FALSE(RunActive || IsWindow(window));
    EXPECT_EQ(LiveObjects(), before) << "no object of the layer outlives the run";
    // The controls were freed as Windows destroyed their windows, the main form last.
    EXPECT_EQ(Events.size(), 4u);
    EXPECT_EQ(Events.back(), 100);
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the quit was taken";

    // A main form whose window cannot be made, or is destroyed without closing.
    Terminating = false;
    Events.clear();
    form = NewForm(nullptr, "Broken");
    form->Style |= WS_CHILD;   // a child window without a parent cannot be made
    AddDeathSentinel(form, 100);
    RunMessageLoop(form);
    EXPECT_TRUE(form == nullptr && Died(100));
    Terminating = false;
    Events.clear();
    form = MainForm([](void*, TMessageRecord& record, LRESULT&) {
        if (record.Message == WM_APP)
            DestroyWindow(record.Window);
        return false;
    });
    RunMessageLoop(form);
    EXPECT_TRUE(form == nullptr && Died(100));
    EXPECT_EQ(LiveObjects(), before);
    KillTimer(nullptr, watchdog);
    EXPECT_FALSE(watchdogFired) << "the run loop had to be ended from outside";
}
