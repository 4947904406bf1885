// Window creation and message dispatch against real user32 windows: the layer's
// classes, the stops a message makes, reflection of children's notifications, the
// Tab rule, and widgets that die during their own messages.
#include "WolTestSupport.h"

#include <algorithm>

namespace {

using Dispatch = WolTest;

TWidget* WidgetOf(HWND window) { return (TWidget*)GetWindowLongPtrA(window, GWLP_USERDATA); }

std::string order;   // the stops that saw a WM_APP

bool HandlerA(TWidget*, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_APP)
        order += 'A';
    return false;
}

// Handles WM_APP with wParam 1.
bool HandlerB(TWidget*, TMessageRecord& record, LRESULT& result)
{
    if (record.Message == WM_APP)
        order += 'B';
    result = 77;
    return record.Message == WM_APP && record.WParam == 1;
}

std::string Stops(TWidget* widget, WPARAM wParam)
{
    order.clear();
    widget->SendToWidget(WM_APP, wParam, 0);
    return order;
}

}

TEST_F(Dispatch, WindowsAreMadeDepthFirstInTheLayersClassesAndAFailedOneLeavesNoBinding)
{
    TWidget* group = NewGroupBox(Form, "G");
    TWidget* first = NewButton(group, "1");
    TWidget* second = NewButton(group, "2");
    TWidget* sibling = NewButton(Form, "3");
    for (TWidget* widget : {Form, group, first, second, sibling})
        widget->AttachHandler(RecordMessage, false);
    ASSERT_NE(Form->GetHandle(), nullptr);   // made hidden, with its controls
    WNDCLASSA system = {}, mine = {};
    ASSERT_TRUE(GetClassInfoA(nullptr, "BUTTON", &system) && GetClassInfoA(ModuleInstance, "obj_BUTTON", &mine));
    EXPECT_EQ(mine.lpfnWndProc, SharedWndProc);
    EXPECT_EQ(mine.cbWndExtra, system.cbWndExtra) << "the system button keeps its window bytes";
    EXPECT_EQ(second->BaseWndProc, system.lpfnWndProc) << "default processing goes to the system button";
    EXPECT_EQ(WidgetOf(second->Handle), second);
    std::vector<TWidget*> created;
    for (const SeenMessage& seen : Seen)
        if (seen.Message == WM_CREATE)
            created.push_back(seen.Widget);
    EXPECT_EQ(created, (std::vector<TWidget*>{Form, group, first, second, sibling}));

    // The refused window's binding must not be left for the next window that has
    // none, such as one being destroyed.
    TWidget* refused = NewButton(Form, "refused");
    refused->AttachHandler([](TWidget*, TMessageRecord& record, LRESULT& result) {
        result = -1;
        return record.Message == WM_CREATE;
    }, false);
    AddDeathSentinel(refused, 1);
    EXPECT_FALSE(refused->CreateWindow());
    Free(sibling);
    EXPECT_EQ(refused->Handle, nullptr);
    EXPECT_FALSE(Died(1));
}

TEST_F(Dispatch, AMessageMeetsTheMainFormTheHandlersLastAttachedFirstAndTheWidgetsOwnProcessing)
{
    TWidget* button = NewButton(Form, "B");
    button->AttachHandler(HandlerA, false);
    button->AttachHandler(HandlerB, false);
    button->AttachHandler(HandlerA, false);   // already attached: not again
    TWidget* edit = NewEditBox(Form, 1 << 3);   // multi-line
    ASSERT_NE(Form->GetHandle(), nullptr);
    EXPECT_EQ(Stops(button, 0), "BA");
    EXPECT_EQ(Stops(button, 1), "B") << "a handled message ends the walk";
    Terminating = true;
    EXPECT_EQ(Stops(button, 0), "") << "while terminating only handlers attached to run then";
    Terminating = false;
    // While the run loop is active the main form's MessageEvent sees every message first.
    Form->MessageEvent = {[](void*, TMessageRecord& record, LRESULT&) {
                              order += record.Message == WM_APP ? "M" : "";
                              return record.WParam == 2;
                          }, nullptr};
    RunActive = true;
    EXPECT_EQ(Stops(button, 0) + Stops(button, 2), "MBAM");
    RunActive = false;
    Form->MessageEvent = {};

    // A child's command and colour request come back to it; a command without a
    // window (a menu's, an accelerator's) goes to default processing.
    for (TWidget* widget : {button, edit})
        widget->AttachHandler(RecordMessage, false);
    RecordDefaultProcessing(Form);
    SendMessageA(button->Handle, BM_CLICK, 0, 0);
    HDC dc = GetDC(button->Handle);
    SendMessageA(Form->Handle, WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)button->Handle);
    ReleaseDC(button->Handle, dc);
    SendMessageA(Form->Handle, WM_COMMAND, 5, 0);
    const auto click = std::find_if(Seen.begin(), Seen.end(), [&](const SeenMessage& s) {
        return s.Widget == button && s.Message == ReflectedCommand && s.WParam == MAKEWPARAM(button->MenuOrId, BN_CLICKED);
    });
    ASSERT_NE(click, Seen.end());
    EXPECT_EQ(click->LParam, (LPARAM)button->Handle);
    EXPECT_EQ(CountSeen(button, ReflectedColorOffset + WM_CTLCOLORBTN), 1);
    EXPECT_EQ(CountDefault(WM_COMMAND), 1);

    // Without Ctrl or Alt a Tab moves the focus, and its character reaches no
    // control, though the handlers see it.
    RecordDefaultProcessing(edit);
    SendMessageA(edit->Handle, WM_CHAR, '\t', 0);
    SendMessageA(edit->Handle, WM_KEYDOWN, VK_TAB, 0);
    SendMessageA(edit->Handle, WM_CHAR, 'a', 0);
    EXPECT_EQ(gui::Text(edit->Handle), "a");
    BYTE keys[256], held[256];
    GetKeyboardState(keys);
    for (int modifier : {VK_CONTROL, VK_MENU}) {
        std::copy(keys, keys + 256, held);
        held[modifier] = 0x80;
        SetKeyboardState(held);
        SendMessageA(edit->Handle, WM_KEYDOWN, VK_TAB, 0);
        SendMessageA(edit->Handle, WM_CHAR, '\t', 0);
    }
    SetKeyboardState(keys);
    EXPECT_EQ((std::vector<int>{CountSeen(edit, WM_CHAR), CountDefault(WM_CHAR), CountDefault(WM_KEYDOWN)}),
              (std::vector<int>{4, 3, 2}));
}

namespace {

bool aliveInNested, aliveAfterNested;

// WM_APP frees the widget inside a nested message; WM_APP + 2 destroys its window.
bool DieInside(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_APP) {
        widget->SendToWidget(WM_APP + 1, 0, 0);
        aliveAfterNested = !Died(1) && IsWindow(widget->Handle);
    } else if (record.Message == WM_APP + 1) {
        Free(widget);
        aliveInNested = !Died(1) && widget->Handlers;
    } else if (record.Message == WM_APP + 2) {
        DestroyWindow(widget->Handle);
        aliveInNested = aliveAfterNested = !Died(1) && widget->WindowDestroyed;
    }
    return record.Message >= WM_APP;
}

}

// A widget freed during its own message lives until its outermost call returns; one
// whose window Windows destroyed is freed then. Either leaves its parent and its
// form's focus; a form releases what it owns in the order of adding.
TEST_F(Dispatch, AWidgetDyingInItsOwnMessageLivesUntilTheCallReturnsAndLeavesItsParent)
{
    AddDeathSentinel(Form, 100);
    TWidget* group = NewGroupBox(Form, "G");
    AddDeathSentinel(group, 2);
    TWidget* keeper = NewButton(group, "kept");
    AddDeathSentinel(keeper, 3);
    AddDeathSentinel(Form, 200);
    ASSERT_NE(Form->GetHandle(), nullptr);
    for (UINT message : {WM_APP, WM_APP + 2}) {
        Events.clear();
        TWidget* victim = NewButton(group, "victim");
        AddDeathSentinel(victim, 1);
        victim->AttachHandler(DieInside, false);
        Form->FocusedControl = group->FocusedControl = victim;
        ASSERT_TRUE(Form->CreateWindow());
        HWND window = victim->Handle;
        aliveInNested = aliveAfterNested = false;
        SendMessageA(window, message, 0, 0);
        EXPECT_TRUE(aliveInNested && aliveAfterNested);
        EXPECT_TRUE(Died(1)) << "dead when the outermost call returned";
        EXPECT_FALSE(IsWindow(window));
        EXPECT_TRUE(group->Children->Count == 1 && group->Children->ItemAt(0) == (TPtrValue)keeper);
        EXPECT_EQ(group->OwnedObjects->IndexOf((TPtrValue)victim), -1);
        EXPECT_TRUE(Form->FocusedControl != victim && group->FocusedControl != victim);
    }
    Events.clear();
    MainWidget = nullptr;
    FreeAndClear(Form);
    EXPECT_EQ(Events, (std::vector<int>{100, 2, 3, 200}));
}
