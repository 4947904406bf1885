// Window creation, message dispatch and the run loop against real user32 windows.
#include "WolTestSupport.h"

using Dispatch = WolTest;

static std::string stops;           // what saw a WM_APP, in order
static std::vector<UINT> defaults;  // the messages that reached default processing
static WNDPROC systemProcedure;

static LRESULT CALLBACK RecordDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    defaults.push_back(message);
    return CallWindowProcA(systemProcedure, window, message, wParam, lParam);
}

static int Defaults(UINT message) { return (int)std::count(defaults.begin(), defaults.end(), message); }

// Sees WM_APP as stop letter; handles it when wParam is 1 (2 for the main form).
template <char letter>
static bool Stop(TWidget*, TMessageRecord& record, LRESULT&)
{
    stops += record.Message == WM_APP ? std::string(1, letter) : "";
    return record.Message == WM_APP && record.WParam == (letter == 'M' ? 2u : 1u);
}

static std::string Stops(TWidget* widget, WPARAM wParam)
{
    stops.clear();
    widget->SendToWidget(WM_APP, wParam, 0);
    return stops;
}

// WM_APP frees the widget inside a nested message; WM_APP + 2 destroys its window.
static bool DieInside(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_APP)
        widget->SendToWidget(WM_APP + 1, 0, 0);
    if (record.Message == WM_APP + 1)
        Free(widget);
    if (record.Message == WM_APP + 2)
        DestroyWindow(widget->Handle);
    const bool mine = record.Message - WM_APP <= 2;
    stops += !mine ? "" : Died(1) ? "dead " : "alive ";
    return mine;
}

// Windows are made hidden, depth first in creation order, in the layer's classes;
// a refused one leaves no binding for the next window without one, such as one
// being destroyed.
TEST_F(Dispatch, WindowsAreMadeDepthFirstAndAFailedOneLeavesNoBinding)
{
    TWidget* group = NewGroupBox(Form, "G");
    TWidget* first = NewButton(group, "1");
    TWidget* second = NewButton(group, "2");
    TWidget* sibling = NewButton(Form, "3");
    for (TWidget* widget : {Form, group, first, second, sibling})
        widget->AttachHandler(RecordMessage, false);
    ASSERT_NE(Form->GetHandle(), nullptr);
    std::vector<TWidget*> created;
    for (const SeenMessage& seen : Seen)
        if (seen.Message == WM_CREATE)
            created.push_back(seen.Widget);
    EXPECT_EQ(created, (std::vector<TWidget*>{Form, group, first, second, sibling}));
    EXPECT_TRUE(gui::Class(second->Handle) == "obj_BUTTON" && !IsWindowVisible(Form->Handle));

    TWidget* refused = NewButton(Form, "refused");
    refused->AttachHandler([](TWidget*, TMessageRecord& record, LRESULT& result) {
        result = -1;
        return record.Message == WM_CREATE;
    }, false);
    AddDeathSentinel(refused, 1);
    EXPECT_FALSE(refused->CreateWindow());
    Free(sibling);
    DestroyWindow(Form->Handle);   // behind the layer's back: the next creation fails before any message
    EXPECT_TRUE(refused->Handle == nullptr && !Died(1) && !NewButton(Form, "orphan")->CreateWindow() && !CreationWidget);
}

// The main form's MessageEvent sees every message first while the run loop is
// active, then the handlers, the one attached last first, until one handles it; a
// child's command and colour request come back to it, a command without a window
// (a menu's) goes to default processing. Without Ctrl or Alt a Tab moves the focus
// and its character reaches no control, though the handlers see it.
TEST_F(Dispatch, AMessageMeetsTheMainFormTheHandlersLastAttachedFirstAndTheWidgetsOwnProcessing)
{
    TWidget* button = NewButton(Form, "B");
    TWidget* edit = NewEditBox(Form, 1 << 3);   // multi-line
    for (TMessageHandler handler : {Stop<'A'>, Stop<'B'>, Stop<'A'>})   // the second A is not attached again
        button->AttachHandler(handler, false);
    ASSERT_NE(Form->GetHandle(), nullptr);
    Form->MessageEvent = {[](void*, TMessageRecord& record, LRESULT& result) { return Stop<'M'>(nullptr, record, result); }, nullptr};
    EXPECT_EQ(Stops(button, 0) + "," + Stops(button, 1), "BA,B");
    RunActive = true;
    EXPECT_EQ(Stops(button, 0) + "," + Stops(button, 2), "MBA,M");
    Terminating = true;
    EXPECT_EQ(Stops(button, 0), "M") << "while terminating only handlers attached to run then";
    RunActive = Terminating = false;
    Form->MessageEvent = {};

    button->AttachHandler(RecordMessage, false);
    edit->AttachHandler(RecordMessage, false);
    systemProcedure = DefWindowProcA;
    Form->BaseWndProc = RecordDefault;
    SendMessageA(button->Handle, BM_CLICK, 0, 0);
    HDC dc = GetDC(button->Handle);
    SendMessageA(Form->Handle, WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)button->Handle);
    ReleaseDC(button->Handle, dc);
    SendMessageA(Form->Handle, WM_COMMAND, 5, 0);
    EXPECT_TRUE(std::any_of(Seen.begin(), Seen.end(), [&](auto& s) {
        return s.Widget == button && s.Message == ReflectedCommand && s.WParam == MAKEWPARAM(button->MenuOrId, BN_CLICKED);
    }));
    EXPECT_EQ(CountSeen(button, ReflectedColorOffset + WM_CTLCOLORBTN) * 10 + Defaults(WM_COMMAND), 11);
    edit->Focus(true);   // a click the program makes, not the mouse, takes the focus too
    SendMessageA(Form->Handle, WM_COMMAND, MAKEWPARAM(button->MenuOrId, BN_CLICKED), (LPARAM)button->Handle);
    EXPECT_EQ(Form->FocusedControl, button);

    Form->BaseWndProc = nullptr;
    defaults.clear();
    systemProcedure = edit->BaseWndProc;
    edit->BaseWndProc = RecordDefault;
    for (BYTE modifier : {0, VK_CONTROL, VK_MENU}) {
        BYTE keys[256] = {};
        keys[modifier] = 0x80;
        SetKeyboardState(keys);
        SendMessageA(edit->Handle, WM_KEYDOWN, VK_TAB, 0);
        SendMessageA(edit->Handle, WM_CHAR, '\t', 0);
    }
    EXPECT_EQ((std::vector<int>{CountSeen(edit, WM_CHAR), Defaults(WM_CHAR), Defaults(WM_KEYDOWN)}), (std::vector<int>{3, 2, 2}));
}

// A widget freed during its own message lives until its outermost call returns; one
// whose window Windows destroyed is freed then; either leaves its parent and its
// form's focus. The run loop never waits for a quit that a main form without a
// window will not post.
TEST_F(Dispatch, WidgetsDieAfterTheirOwnMessagesAndTheRunLoopEndsWithTheMainForm)
{
    TWidget* group = NewGroupBox(Form, "G");
    TWidget* keeper = NewButton(group, "kept");
    ASSERT_NE(Form->GetHandle(), nullptr);
    for (UINT message : {WM_APP, WM_APP + 2}) {
        Events.clear();
        stops.clear();
        TWidget* victim = NewButton(group, "victim");
        AddDeathSentinel(victim, 1);
        victim->AttachHandler(DieInside, false);
        Form->FocusedControl = group->FocusedControl = victim;
        ASSERT_TRUE(Form->CreateWindow());
        SendMessageA(victim->Handle, message, 0, 0);
        EXPECT_EQ(stops, message == WM_APP ? "alive alive " : "alive ");
        EXPECT_TRUE(Died(1)) << "dead when the outermost call returned";
        EXPECT_TRUE(group->Children->Count == 1 && group->Children->ItemAt(0) == (TPtrValue)keeper);
        EXPECT_EQ(group->OwnedObjects->IndexOf((TPtrValue)victim), -1);
        EXPECT_TRUE(Form->FocusedControl != victim && group->FocusedControl != victim);
    }

    Free(Form);
    Form = NewForm(nullptr, "Broken");
    Form->Style |= WS_CHILD;   // a child window without a parent cannot be made
    AddDeathSentinel(Form, 4);
    RunMessageLoop(Form);
    EXPECT_TRUE(Form == nullptr && Died(4));
}
