// Window creation and message dispatch against real user32 windows: superclass
// registration, the order of the stops a message makes, reflection of children's
// notifications, the Tab rule, and widgets that die during messages.
#include "WolTestSupport.h"

#include <algorithm>

namespace {

class Dispatch : public CoreTest {};

TWidget* WidgetOf(HWND window) { return reinterpret_cast<TWidget*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

}

TEST_F(Dispatch, EachKindRegistersItsSuperclassOnceAndChildrenAreMadeDepthFirst)
{
    TWidget* form = MakeForm();
    TWidget* group = MakeGroup(form, 1);
    TWidget* first = MakeButton(group, 2);
    TWidget* second = MakeButton(group, 102);
    TWidget* sibling = MakeButton(form, 4);
    for (TWidget* widget : {form, group, first, second, sibling})
        widget->AttachHandler(RecordMessage, false);
    ASSERT_TRUE(MakeWindowsHidden(form));

    WNDCLASSA system = {}, mine = {}, formClass = {};
    ASSERT_TRUE(GetClassInfoA(nullptr, "BUTTON", &system));
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_BUTTON", &mine));
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_Form", &formClass));
    EXPECT_EQ(mine.lpfnWndProc, SharedWndProc);
    EXPECT_EQ(formClass.lpfnWndProc, SharedWndProc);
    EXPECT_EQ(mine.cbWndExtra, system.cbWndExtra) << "the system button keeps its window bytes";
    EXPECT_EQ(gui::WindowClass(first->Handle), "obj_BUTTON");
    EXPECT_EQ(GetClassLongPtrA(first->Handle, GCW_ATOM), GetClassLongPtrA(second->Handle, GCW_ATOM));
    EXPECT_EQ(first->BaseWndProc, system.lpfnWndProc) << "default processing goes to the system button";
    EXPECT_EQ(second->BaseWndProc, system.lpfnWndProc);
    EXPECT_EQ(WidgetOf(form->Handle), form);
    EXPECT_EQ(WidgetOf(second->Handle), second);
    EXPECT_EQ(GetParent(second->Handle), group->Handle);
    std::vector<TWidget*> created;
    for (const SeenMessage& seen : Seen)
        if (seen.Message == WM_CREATE)
            created.push_back(seen.Widget);
    EXPECT_EQ(created, (std::vector<TWidget*>{form, group, first, second, sibling}));
    Free(form);
}

namespace {

bool FailCreate(TWidget*, TMessageRecord& record, LRESULT& result)
{
    if (record.Message != WM_CREATE)
        return false;
    result = -1;
    return true;
}

}

TEST_F(Dispatch, AFailedCreateWindowLeavesNoBindingBehind)
{
    TWidget* form = MakeForm();
    ASSERT_TRUE(MakeWindowsHidden(form));
    TWidget* refused = MakeButton(form, 1);
    refused->AttachHandler(FailCreate, false);
    AddDeathSentinel(refused, 1);
    EXPECT_FALSE(refused->CreateWindow());
    EXPECT_EQ(refused->Handle, nullptr);
    EXPECT_EQ(CreationWidget, nullptr) << "the next window must not be taken for it";
    EXPECT_FALSE(Died(1)) << "its teardown messages did not free it";
    EXPECT_EQ(refused->WindowDestroyed, 0);

    TWidget* next = MakeButton(form, 2);
    ASSERT_NE(next->GetHandle(), nullptr);
    EXPECT_EQ(WidgetOf(next->Handle), next);
    EXPECT_EQ(refused->Handle, nullptr);

    // A parent window gone behind the layer's back: the call fails before any message.
    MainWidget = form;   // so that losing its window does not free the form
    DestroyWindow(form->Handle);
    EXPECT_FALSE(MakeButton(form, 3)->CreateWindow());
    EXPECT_EQ(CreationWidget, nullptr);
    Free(form);
    EXPECT_TRUE(Died(1));
}

//--- The stops of a message

namespace {

std::vector<char> order;

bool HandlerA(TWidget*, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_APP)
        order.push_back('A');
    return false;
}

bool HandlerB(TWidget*, TMessageRecord& record, LRESULT& result)
{
    if (record.Message != WM_APP)
        return false;
    order.push_back('B');
    result = 77;
    return record.WParam == 1;
}

std::vector<char> Send(TWidget* widget, WPARAM wParam, LRESULT expected = 0)
{
    order.clear();
    EXPECT_EQ(widget->SendToWidget(WM_APP, wParam, 0), expected);
    return order;
}

}

TEST_F(Dispatch, TheHandlerAttachedLastSeesAMessageFirst)
{
    using O = std::vector<char>;
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    button->AttachHandler(HandlerA, false);
    button->AttachHandler(HandlerB, false);
    button->AttachHandler(HandlerA, false);   // already attached: not again
    ASSERT_TRUE(MakeWindowsHidden(form));
    EXPECT_EQ(Send(button, 0), (O{'B', 'A'}));
    EXPECT_EQ(Send(button, 1, 77), O{'B'}) << "a handled message ends the walk";
    Terminating = true;
    EXPECT_EQ(Send(button, 0), O{}) << "while terminating only handlers attached to run then";
    Terminating = false;
    Free(form);
}

TEST_F(Dispatch, AChildsCommandAndColourRequestComeBackToTheChild)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 0x4321);
    form->AttachHandler(RecordMessage, false);
    button->AttachHandler(RecordMessage, false);
    ASSERT_TRUE(MakeWindowsHidden(form));
    RecordDefaultProcessing(form);

    SendMessageA(button->Handle, BM_CLICK, 0, 0);   // the button tells its parent
    ASSERT_EQ(CountSeen(form, WM_COMMAND), 1);
    ASSERT_EQ(CountSeen(button, 0xB005), 1);
    const SeenMessage& reflected = *std::find_if(Seen.begin(), Seen.end(), [](const SeenMessage& seen) {
        return seen.Message == 0xB005;
    });
    EXPECT_EQ(reflected.Widget, button);
    EXPECT_EQ(reflected.WParam, MAKEWPARAM(0x4321, BN_CLICKED));
    EXPECT_EQ(reflected.LParam, reinterpret_cast<LPARAM>(button->Handle));
    EXPECT_EQ(CountDefault(WM_COMMAND), 0);

    HDC dc = GetDC(button->Handle);
    SendMessageA(form->Handle, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button->Handle));
    ReleaseDC(button->Handle, dc);
    EXPECT_EQ(CountSeen(button, 0xBD35), 1);

    // A command without a window (menus, accelerators) is not reflected.
    SendMessageA(form->Handle, WM_COMMAND, 5, 0);
    EXPECT_EQ(CountSeen(button, 0xB005), 1);
    EXPECT_EQ(CountDefault(WM_COMMAND), 1);
    Free(form);
}

TEST_F(Dispatch, ATabCharacterIsSwallowedUnlessCtrlOrAltIsDown)
{
    TWidget* form = MakeForm();
    TWidget* edit = MakeControl(form, "EDIT", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 1, 4, 4, 200, 80);
    edit->AttachHandler(RecordMessage, false);
    ASSERT_TRUE(MakeWindowsHidden(form));
    RecordDefaultProcessing(edit);

    SendMessageA(edit->Handle, WM_CHAR, '\t', 0);
    EXPECT_EQ(CountDefault(WM_CHAR), 0);
    EXPECT_EQ(CountSeen(edit, WM_CHAR), 1) << "the handlers still see it";
    EXPECT_EQ(GetWindowTextLengthA(edit->Handle), 0);
    SendMessageA(edit->Handle, WM_KEYDOWN, VK_TAB, 0);
    SendMessageA(edit->Handle, WM_CHAR, 'a', 0);
    EXPECT_EQ(CountDefault(WM_KEYDOWN), 0) << "the Tab key moves the focus instead";
    EXPECT_EQ(CountDefault(WM_CHAR), 1);

    BYTE keys[256], held[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    for (int modifier : {VK_CONTROL, VK_MENU}) {
        std::copy(keys, keys + 256, held);
        held[modifier] = 0x80;
        SetKeyboardState(held);
        SendMessageA(edit->Handle, WM_KEYDOWN, VK_TAB, 0);
        SendMessageA(edit->Handle, WM_CHAR, '\t', 0);
    }
    SetKeyboardState(keys);
    EXPECT_EQ(CountDefault(WM_KEYDOWN), 2) << "Ctrl+Tab and Alt+Tab reach the control";
    EXPECT_EQ(CountDefault(WM_CHAR), 3);
    Free(form);
}

//--- Widgets that die during messages

namespace {

bool aliveInNested = false;
bool aliveAfterNested = false;

bool FreeItselfInANestedMessage(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_APP) {
        widget->SendToWidget(WM_APP + 1, 0, 0);
        aliveAfterNested = !Died(1) && widget->Handle && IsWindow(widget->Handle);
        return true;
    }
    if (record.Message == WM_APP + 1) {
        Free(widget);
        aliveInNested = !Died(1) && widget->Handlers != nullptr;
        return true;
    }
    if (record.Message == WM_APP + 2) {
        DestroyWindow(widget->Handle);
        aliveAfterNested = !Died(1) && widget->WindowDestroyed;
        return true;
    }
    return false;
}

}

TEST_F(Dispatch, AWidgetFreedOrDestroyedInsideItsOwnMessageSurvivesUntilTheOutermostCallReturns)
{
    TWidget* form = MakeForm();
    TWidget* keeper = MakeButton(form, 3);
    for (UINT message : {WM_APP, WM_APP + 2}) {
        Events.clear();
        TWidget* victim = MakeButton(form, 1);
        AddDeathSentinel(victim, 1);
        victim->AttachHandler(FreeItselfInANestedMessage, false);
        ASSERT_TRUE(MakeWindowsHidden(form));
        HWND window = victim->Handle;
        aliveInNested = aliveAfterNested = false;
        SendMessageA(window, message, 0, 0);
        EXPECT_TRUE(aliveInNested || message == WM_APP + 2);
        EXPECT_TRUE(aliveAfterNested);
        EXPECT_TRUE(Died(1)) << "destroyed when the outermost call returned";
        EXPECT_FALSE(IsWindow(window));
        ASSERT_EQ(form->Children->Count, 1);
        EXPECT_EQ(reinterpret_cast<TWidget*>(form->Children->ItemAt(0)), keeper);
        EXPECT_EQ(form->OwnedObjects->Count, 2);
    }

    // Directly, from outside any message of its own.
    AddDeathSentinel(keeper, 2);
    DestroyWindow(keeper->Handle);
    EXPECT_TRUE(Died(2));
    EXPECT_EQ(form->Children->Count, 0);
    Free(form);
}

