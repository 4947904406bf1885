// Window creation and message dispatch against real user32 windows:
// superclass registration, the order of the stops a message makes, reflection of
// children's notifications, the Tab rule, and widgets that die during messages.
#include "WolCoreTestSupport.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace core;

namespace {

std::string ClassOf(HWND window)
{
    char name[80] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

class Dispatch : public CoreTest {};

}

//--- Superclasses and the making of windows

TEST_F(Dispatch, EachKindRegistersItsSuperclassOnceWithSharedWndProc)
{
    TWidget* form = MakeForm();
    TWidget* first = MakeButton(form, 101);
    TWidget* second = MakeButton(form, 102);
    ASSERT_TRUE(MakeWindowsHidden(form));

    WNDCLASSA system = {};
    ASSERT_TRUE(GetClassInfoA(nullptr, "BUTTON", &system));
    WNDCLASSA mine = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_BUTTON", &mine));
    EXPECT_EQ(mine.lpfnWndProc, SharedWndProc);
    EXPECT_EQ(mine.style, system.style & ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS));
    EXPECT_EQ(mine.cbWndExtra, system.cbWndExtra) << "the system button keeps its window bytes";
    EXPECT_EQ(ClassOf(first->Handle), "obj_BUTTON");
    EXPECT_EQ(GetClassLongPtrA(first->Handle, GCW_ATOM), GetClassLongPtrA(second->Handle, GCW_ATOM))
        << "the second button uses the class the first one registered";
    EXPECT_NE(first->BaseWndProc, nullptr) << "default processing goes to the system button";
    EXPECT_EQ(first->BaseWndProc, second->BaseWndProc);

    WNDCLASSA formClass = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_Form", &formClass));
    EXPECT_EQ(formClass.lpfnWndProc, SharedWndProc);
    EXPECT_EQ(formClass.style, static_cast<UINT>(CS_DBLCLKS)) << "0x28 less CS_OWNDC";
    EXPECT_EQ(formClass.hbrBackground, nullptr);
    EXPECT_EQ(formClass.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(form->BaseWndProc, nullptr);

    EXPECT_EQ(reinterpret_cast<TWidget*>(GetWindowLongPtrA(form->Handle, GWLP_USERDATA)), form);
    EXPECT_EQ(reinterpret_cast<TWidget*>(GetWindowLongPtrA(first->Handle, GWLP_USERDATA)), first);
    EXPECT_EQ(GetParent(first->Handle), form->Handle);
    EXPECT_EQ(GetDlgCtrlID(second->Handle), 102);
    EXPECT_EQ(CreationWidget, nullptr);
    Free(form);
}

TEST_F(Dispatch, ChildrenAreMadeDepthFirstInCreationOrder)
{
    TWidget* form = MakeForm();
    TWidget* group = MakeControl(form, "BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 1, 4, 4, 200, 200);
    TWidget* inner1 = MakeButton(group, 2);
    TWidget* inner2 = MakeButton(group, 3);
    TWidget* sibling = MakeButton(form, 4);
    TWidget* all[] = {form, group, inner1, inner2, sibling};
    for (TWidget* widget : all)
        widget->AttachHandler(RecordMessage, false);

    ASSERT_TRUE(MakeWindowsHidden(form));
    std::vector<TWidget*> created;
    for (const SeenMessage& seen : Seen)
        if (seen.Message == WM_CREATE)
            created.push_back(seen.Widget);
    EXPECT_EQ(created, (std::vector<TWidget*>{form, group, inner1, inner2, sibling}));
    EXPECT_EQ(GetParent(inner2->Handle), group->Handle);
    Free(form);
}

TEST_F(Dispatch, GetHandleMakesAHiddenWindowThatTheNextCreateWindowShowsChildrenFirst)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    form->AttachHandler(RecordMessage, false);
    button->AttachHandler(RecordMessage, false);

    HWND window = button->GetHandle();   // makes the form's window as well
    ASSERT_NE(window, nullptr);
    ASSERT_NE(form->Handle, nullptr);
    EXPECT_FALSE(IsWindowVisible(form->Handle));
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(button->ShowPending);
    EXPECT_TRUE(form->ShowPending);

    Seen.clear();
    ASSERT_TRUE(form->CreateWindow());
    EXPECT_TRUE(IsWindowVisible(form->Handle));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(button->ShowPending);
    EXPECT_FALSE(form->ShowPending);
    std::vector<TWidget*> shown;
    for (const SeenMessage& seen : Seen)
        if (seen.Message == WM_SHOWWINDOW && seen.WParam)
            shown.push_back(seen.Widget);
    EXPECT_EQ(shown, (std::vector<TWidget*>{button, form}));
    Free(form);
}

TEST_F(Dispatch, AWidgetHiddenAfterItsWindowWasMadeStaysHidden)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    button->GetHandle();
    button->SetVisibleState(false);
    ASSERT_TRUE(form->CreateWindow());
    EXPECT_TRUE(IsWindowVisible(form->Handle));
    EXPECT_FALSE(IsWindowVisible(button->Handle));
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

    // The next window of the same kind is bound to its own widget.
    TWidget* next = MakeButton(form, 2);
    ASSERT_NE(next->GetHandle(), nullptr);
    EXPECT_EQ(reinterpret_cast<TWidget*>(GetWindowLongPtrA(next->Handle, GWLP_USERDATA)), next);
    EXPECT_EQ(refused->Handle, nullptr);

    // A child without a parent window never starts a window at all.
    TWidget* orphan = MakeButton(nullptr, 3);
    EXPECT_FALSE(orphan->CreateWindow());
    EXPECT_EQ(orphan->GetHandle(), nullptr);
    EXPECT_EQ(CreationWidget, nullptr);
    Free(orphan);
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
    if (record.WParam == 1) {
        result = 77;
        return true;
    }
    return false;
}

bool MainEvent(void* answer, TMessageRecord& record, LRESULT& result)
{
    if (record.Message != WM_APP)
        return false;
    order.push_back('M');
    result = 55;
    return *static_cast<bool*>(answer);
}

bool OwnEvent(void*, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_APP)
        order.push_back('E');
    return false;
}

}

TEST_F(Dispatch, TheHandlerAttachedLastSeesAMessageFirst)
{
    order.clear();
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    button->AttachHandler(HandlerA, false);
    button->AttachHandler(HandlerB, false);
    button->AttachHandler(HandlerA, false);   // already attached: not again
    EXPECT_EQ(button->Handlers->Count, 4);
    ASSERT_TRUE(MakeWindowsHidden(form));

    button->SendToWidget(WM_APP, 0, 0);
    EXPECT_EQ(order, (std::vector<char>{'B', 'A'}));
    order.clear();
    EXPECT_EQ(button->SendToWidget(WM_APP, 1, 0), 77);
    EXPECT_EQ(order, std::vector<char>{'B'}) << "a handled message ends the walk";

    // While terminating, only handlers attached to run then are called.
    order.clear();
    Terminating = true;
    button->SendToWidget(WM_APP, 0, 0);
    EXPECT_TRUE(order.empty());
    Terminating = false;
    Free(form);
}

TEST_F(Dispatch, MessageEventsComeBeforeTheChainAndTheMainFormsFirstWhileRunning)
{
    order.clear();
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    bool mainAnswers = false;
    form->MessageEvent = {MainEvent, &mainAnswers};
    button->MessageEvent = {OwnEvent, nullptr};
    button->AttachHandler(HandlerA, false);
    ASSERT_TRUE(MakeWindowsHidden(form));
    MainWidget = form;

    button->SendToWidget(WM_APP, 0, 0);
    EXPECT_EQ(order, (std::vector<char>{'E', 'A'})) << "the main form's event waits for the run";

    order.clear();
    RunActive = true;
    button->SendToWidget(WM_APP, 0, 0);
    EXPECT_EQ(order, (std::vector<char>{'M', 'E', 'A'}));

    order.clear();
    mainAnswers = true;
    EXPECT_EQ(button->SendToWidget(WM_APP, 0, 0), 55);
    EXPECT_EQ(order, std::vector<char>{'M'});
    RunActive = false;
    MainWidget = nullptr;
    Free(form);
}

//--- Reflection

TEST_F(Dispatch, AChildsCommandComesBackToItsOwnChainAsReflectedCommand)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 0x4321);
    form->AttachHandler(RecordMessage, false);
    button->AttachHandler(RecordMessage, false);
    ASSERT_TRUE(MakeWindowsHidden(form));

    Seen.clear();
    SendMessageA(button->Handle, BM_CLICK, 0, 0);   // the button tells its parent
    ASSERT_EQ(CountSeen(form, WM_COMMAND), 1);
    ASSERT_EQ(CountSeen(button, ReflectedCommand), 1);
    for (const SeenMessage& seen : Seen) {
        if (seen.Message == ReflectedCommand) {
            EXPECT_EQ(seen.Widget, button);
            EXPECT_EQ(seen.WParam, MAKEWPARAM(0x4321, BN_CLICKED));
            EXPECT_EQ(seen.LParam, reinterpret_cast<LPARAM>(button->Handle));
        }
    }

    // A command without a window (menus, accelerators) is not reflected.
    RecordDefaultProcessing(form);
    Seen.clear();
    SendMessageA(form->Handle, WM_COMMAND, 5, 0);
    EXPECT_EQ(CountSeen(button, ReflectedCommand), 0);
    EXPECT_EQ(std::count(DefaultCalls.begin(), DefaultCalls.end(), static_cast<UINT>(WM_COMMAND)), 1);
    Free(form);
}

namespace {

bool AnswerColour(TWidget*, TMessageRecord& record, LRESULT& result)
{
    if (record.Message != WM_CTLCOLORBTN + ReflectedColorOffset)
        return false;
    result = 0x1234;
    return true;
}

}

TEST_F(Dispatch, AChildsColourRequestIsAnsweredByTheChild)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    button->AttachHandler(AnswerColour, false);
    ASSERT_TRUE(MakeWindowsHidden(form));
    HDC dc = GetDC(button->Handle);
    EXPECT_EQ(SendMessageA(form->Handle, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(button->Handle)),
              0x1234);
    EXPECT_EQ(WM_CTLCOLORBTN + ReflectedColorOffset, 0xBD35u);
    ReleaseDC(button->Handle, dc);
    Free(form);
}

//--- Keys and focus

TEST_F(Dispatch, ATabCharacterIsSwallowedUnlessCtrlOrAltIsDown)
{
    TWidget* form = MakeForm();
    TWidget* edit = MakeControl(form, "EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE, 1, 4, 4, 200, 80);
    edit->AttachHandler(RecordMessage, false);
    ASSERT_TRUE(MakeWindowsHidden(form));
    RecordDefaultProcessing(edit);
    auto reachedDefault = [](UINT message) {
        return std::count(DefaultCalls.begin(), DefaultCalls.end(), message);
    };

    SendMessageA(edit->Handle, WM_CHAR, '\t', 0);
    EXPECT_EQ(reachedDefault(WM_CHAR), 0);
    EXPECT_EQ(CountSeen(edit, WM_CHAR), 1) << "the handlers still see it";
    EXPECT_EQ(GetWindowTextLengthA(edit->Handle), 0);

    SendMessageA(edit->Handle, WM_KEYDOWN, VK_TAB, 0);
    SendMessageA(edit->Handle, WM_CHAR, 'a', 0);
    EXPECT_EQ(reachedDefault(WM_KEYDOWN), 1) << "the Tab key itself goes on";
    EXPECT_EQ(reachedDefault(WM_CHAR), 1);

    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    BYTE held[256];
    memcpy(held, keys, sizeof held);
    held[VK_CONTROL] = 0x80;
    SetKeyboardState(held);
    SendMessageA(edit->Handle, WM_CHAR, '\t', 0);
    EXPECT_EQ(reachedDefault(WM_CHAR), 2) << "Ctrl+Tab reaches the control";
    held[VK_CONTROL] = 0;
    held[VK_MENU] = 0x80;
    SetKeyboardState(held);
    SendMessageA(edit->Handle, WM_CHAR, '\t', 0);
    EXPECT_EQ(reachedDefault(WM_CHAR), 3) << "Alt+Tab reaches the control";
    SetKeyboardState(keys);
    Free(form);
}

TEST_F(Dispatch, FocusIsRefusedByADisabledWidgetThatIsNoTabStop)
{
    TWidget* form = MakeForm();
    TWidget* label = MakeControl(form, "STATIC", WS_CHILD | WS_VISIBLE, 1);
    ASSERT_TRUE(form->CreateWindow());
    label->SetEnabled(false);
    RecordDefaultProcessing(label);
    EXPECT_EQ(SendMessageA(label->Handle, WM_SETFOCUS, 0, 0), 0);
    EXPECT_TRUE(DefaultCalls.empty());
    label->SetEnabled(true);
    SendMessageA(label->Handle, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(GetFocus(), label->Handle) << "an enabled widget takes the focus";
    EXPECT_GE(std::count(DefaultCalls.begin(), DefaultCalls.end(), static_cast<UINT>(WM_SETFOCUS)), 1);
    EXPECT_EQ(label->FocusChanging, 0);
    Free(form);
}

TEST_F(Dispatch, WmSizeKeepsTheWindowState)
{
    TWidget* form = MakeForm();
    ASSERT_TRUE(MakeWindowsHidden(form));
    SendMessageA(form->Handle, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(10, 10));
    EXPECT_EQ(form->WindowState, 2);
    SendMessageA(form->Handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
    EXPECT_EQ(form->WindowState, 0);
    Free(form);
}

TEST_F(Dispatch, TheFormOfAWidgetAndTheMainForm)
{
    TWidget* form = MakeForm();
    TWidget* group = MakeControl(form, "BUTTON", WS_CHILD | BS_GROUPBOX, 1);
    TWidget* button = MakeButton(group, 2);
    TWidget* other = MakeForm();
    EXPECT_EQ(button->ParentForm(), form);
    EXPECT_EQ(form->ParentForm(), form);
    TWidget* loose = MakeButton(nullptr, 3);
    EXPECT_EQ(loose->ParentForm(), nullptr);
    Free(loose);
    EXPECT_TRUE(form->IsMainForm()) << "without MainWidget every form is a main form";
    EXPECT_FALSE(button->IsMainForm());
    MainWidget = form;
    EXPECT_TRUE(form->IsMainForm());
    EXPECT_FALSE(other->IsMainForm());
    MainWidget = nullptr;
    Free(other);
    Free(form);
}

//--- Widgets that die during messages

namespace {

TWidget* victim = nullptr;
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
    return false;
}

bool DestroyOwnWindowInAMessage(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    if (record.Message != WM_APP)
        return false;
    DestroyWindow(widget->Handle);
    aliveAfterNested = !Died(1) && widget->WindowDestroyed;
    return true;
}

}

TEST_F(Dispatch, AWidgetFreedInsideItsOwnMessageSurvivesUntilTheOutermostCallReturns)
{
    TWidget* form = MakeForm();
    victim = MakeButton(form, 1);
    AddDeathSentinel(victim, 1);
    victim->AttachHandler(FreeItselfInANestedMessage, false);
    ASSERT_TRUE(MakeWindowsHidden(form));
    HWND window = victim->Handle;

    aliveInNested = aliveAfterNested = false;
    SendMessageA(window, WM_APP, 0, 0);
    EXPECT_TRUE(aliveInNested);
    EXPECT_TRUE(aliveAfterNested);
    EXPECT_TRUE(Died(1)) << "destroyed when the outermost call returned";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form->Children->Count, 0);
    EXPECT_EQ(form->OwnedObjects, nullptr);
    Free(form);
}

TEST_F(Dispatch, AControlWhoseWindowIsDestroyedIsFreedAfterItsOutermostMessage)
{
    TWidget* form = MakeForm();
    TWidget* keeper = MakeButton(form, 2);
    victim = MakeButton(form, 1);
    AddDeathSentinel(victim, 1);
    victim->AttachHandler(DestroyOwnWindowInAMessage, false);
    ASSERT_TRUE(MakeWindowsHidden(form));

    aliveAfterNested = false;
    SendMessageA(victim->Handle, WM_APP, 0, 0);
    EXPECT_TRUE(aliveAfterNested) << "WM_DESTROY inside a message does not free it at once";
    EXPECT_TRUE(Died(1));
    ASSERT_EQ(form->Children->Count, 1);
    EXPECT_EQ(reinterpret_cast<TWidget*>(form->Children->ItemAt(0)), keeper);
    EXPECT_EQ(form->OwnedObjects->IndexOf(reinterpret_cast<TPtrValue>(keeper)), 1);
    EXPECT_EQ(form->OwnedObjects->Count, 2);

    // Directly, from outside any message of its own.
    AddDeathSentinel(keeper, 2);
    DestroyWindow(keeper->Handle);
    EXPECT_TRUE(Died(2));
    EXPECT_EQ(form->Children->Count, 0);
    Free(form);
}

TEST_F(Dispatch, MessagesForAWindowWithoutAWidgetGoToTheMainForm)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    ASSERT_TRUE(MakeWindowsHidden(form));
    form->AttachHandler(RecordMessage, false);
    MainWidget = form;
    HWND orphan = button->Handle;
    SetWindowLongPtrA(orphan, GWLP_USERDATA, 0);   // as its destruction leaves it
    SendMessageA(orphan, WM_APP + 5, 0, 0);
    EXPECT_EQ(CountSeen(form, WM_APP + 5), 1);
    SetWindowLongPtrA(orphan, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(button));
    MainWidget = nullptr;
    Free(form);
}
