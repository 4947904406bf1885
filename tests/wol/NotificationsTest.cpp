// Notifications as a user causes them: real mouse clicks and keys on buttons,
// check boxes, edit and combo boxes; and what controls answer to colour requests.
#include "WolTestSupport.h"

namespace {

// How deep the thread is inside the processing of a combo box's CBN_SELCHANGE,
// seen by hooks around every window procedure call.
int selChangeDepth = 0;
HHOOK callHook = nullptr;
HHOOK returnHook = nullptr;

bool IsSelChange(UINT message, WPARAM wParam) { return message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE; }

LRESULT CALLBACK OnCall(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = (CWPSTRUCT*)lParam;
    if (code == HC_ACTION && IsSelChange(call->message, call->wParam))
        ++selChangeDepth;
    return CallNextHookEx(callHook, code, wParam, lParam);
}

LRESULT CALLBACK OnReturn(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = (CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && IsSelChange(call->message, call->wParam))
        --selChangeDepth;
    return CallNextHookEx(returnHook, code, wParam, lParam);
}

int comboChanges = 0;
int depthSeen = 0;   // selChangeDepth summed over the combo box's change events

void RecordChange(void*, TWidget*)
{
    ++comboChanges;
    depthSeen += selChangeDepth;
}

// Stands in as the "PREV_PROC" of a combo box's inner window: records the
// characters that reach it, then passes everything to the real procedure.
std::vector<WPARAM> charsSeen;
WNDPROC realPartProc = nullptr;

LRESULT CALLBACK RecordingPartProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR)
        charsSeen.push_back(wParam);
    return CallWindowProcA(realPartProc, window, message, wParam, lParam);
}

HWND ComboEdit(TWidget* combo) { return GetWindow(combo->Handle, GW_CHILD); }

bool Dropped(TWidget* combo) { return combo->SendToWidget(CB_GETDROPPEDSTATE, 0, 0) != 0; }

// Clicks count times at a point of the widget, waits until clicks has reached
// expected and checks that no more come.
void ClickAndSettle(TWidget* widget, POINT at, int count, const int& clicks, int expected)
{
    gui::ClickAt(widget->Handle, at, count);
    ASSERT_TRUE(gui::WaitUntil([&] { return clicks >= expected; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(clicks, expected);
}

void PressAndWait(WORD key, const std::function<bool()>& condition)
{
    gui::PressKey(key);
    ASSERT_TRUE(gui::WaitUntil(condition));
}

}

TEST_F(FormTest, ButtonClickedOnceAndDoubleClickedTwice)
{
    TWidget* button = NewButton(Form, "Press");
    button->SetSize(120, 30);
    int clicks = 0, changes = 0;
    button->ClickEvent = Counter(clicks);
    button->ChangeEvent = Counter(changes);
    Show();
    const POINT center = gui::ClientCenter(button->Handle);
    ClickAndSettle(button, center, 1, clicks, 1);
    EXPECT_EQ(Form->FocusedControl, button);
    ClickAndSettle(button, center, 2, clicks, 3);
    EXPECT_EQ(changes, 0);
}

TEST_F(FormTest, CheckBoxDoubleClickedTogglesTwice)
{
    TWidget* box = NewCheckBox(Form, "Two pass");
    int clicks = 0;
    box->ClickEvent = Counter(clicks);
    Show();
    ClickAndSettle(box, POINT{8, 11}, 1, clicks, 1);
    EXPECT_EQ(box->GetChecked(), BST_CHECKED);
    ClickAndSettle(box, POINT{8, 11}, 2, clicks, 3);
    EXPECT_EQ(box->GetChecked(), BST_CHECKED);
}

TEST_F(FormTest, TypingIntoAnEditBoxFiresChangePerCharacterAndTheFormKeepsTheFocusedControl)
{
    TWidget* edit = NewEditBox(Form, 0);
    TWidget* other = NewEditBox(Form, 0);
    other->SetTop(40);
    int changes = 0, enters = 0, leaves = 0, clicks = 0;
    edit->ChangeEvent = Counter(changes);
    edit->EnterEvent = Counter(enters);
    edit->LeaveEvent = Counter(leaves);
    edit->ClickEvent = Counter(clicks);
    Show();
    EXPECT_EQ(Form->FocusedControl, edit);

    edit->Focus(true);
    ASSERT_TRUE(gui::WaitUntil([&] { return enters == 1; }));
    gui::TypeText("2500");
    ASSERT_TRUE(gui::WaitUntil([&] { return edit->GetText() == "2500"; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(clicks, 0);
    edit->SetText("");
    EXPECT_EQ(gui::WindowText(edit->Handle), "") << "a cleared text leaves nothing behind";

    gui::ClickAt(other->Handle, gui::ClientCenter(other->Handle));
    ASSERT_TRUE(gui::WaitUntil([&] { return leaves == 1 && GetFocus() == other->Handle; }));
    EXPECT_EQ(Form->FocusedControl, other);
    SetFocus(Form->Handle);
    EXPECT_EQ(GetFocus(), other->Handle) << "the form hands the focus to the control that last had it";
}

TEST_F(FormTest, ChoosingAComboItemFiresChangeOnceAfterTheNotification)
{
    TWidget* combo = NewComboBox(Form, 16);
    for (const char* item : {"1000", "2000", "3000"})
        combo->AddItem(item);
    comboChanges = depthSeen = 0;
    combo->ChangeEvent = TEventHandler{RecordChange, nullptr};
    Show();
    callHook = SetWindowsHookExA(WH_CALLWNDPROC, OnCall, nullptr, GetCurrentThreadId());
    returnHook = SetWindowsHookExA(WH_CALLWNDPROCRET, OnReturn, nullptr, GetCurrentThreadId());
    combo->Focus(true);
    PressAndWait(VK_DOWN, [] { return comboChanges == 1; });
    gui::PumpUntilIdle();
    UnhookWindowsHookEx(callHook);
    UnhookWindowsHookEx(returnHook);
    EXPECT_EQ(comboChanges, 1);
    EXPECT_EQ(depthSeen, 0);
    EXPECT_EQ(combo->GetCurIndex(), 1);
    EXPECT_EQ(combo->GetText(), "2000");
}

TEST_F(FormTest, EscInAnOpenComboListRestoresTheSelectionAndEnterKeepsIt)
{
    TWidget* first = NewEditBox(Form, 0);
    TWidget* combo = NewComboBox(Form, 16);
    combo->SetTop(40);
    for (const char* item : {"1000", "2000", "3000", "4000"})
        combo->AddItem(item);
    int closeUps = 0;
    combo->CloseUpEvent = Counter(closeUps);
    Show();
    HWND edit = ComboEdit(combo);
    realPartProc = (WNDPROC)GetPropA(edit, "PREV_PROC");
    ASSERT_NE(realPartProc, nullptr);
    SetPropA(edit, "PREV_PROC", (HANDLE)RecordingPartProc);

    // The inner edit window reports the focus for the combo box.
    EXPECT_EQ(Form->FocusedControl, first);
    gui::ClickAt(edit, gui::ClientCenter(edit));
    ASSERT_TRUE(gui::WaitUntil([&] { return GetFocus() == edit; }));
    EXPECT_EQ(Form->FocusedControl, combo);

    // Esc: the list opened on item 0 and the user moved to item 2.
    PressAndWait(VK_F4, [&] { return Dropped(combo); });
    EXPECT_EQ(combo->DropDownIndex, 0);
    gui::PressKey(VK_DOWN);
    PressAndWait(VK_DOWN, [&] { return combo->GetCurIndex() == 2; });
    PressAndWait(VK_ESCAPE, [&] { return !Dropped(combo); });
    gui::PumpUntilIdle();
    EXPECT_EQ(combo->GetCurIndex(), 0);
    EXPECT_FALSE(combo->DroppedDown);
    EXPECT_EQ(closeUps, 1);

    // Enter: the new choice stays.
    PressAndWait(VK_F4, [&] { return Dropped(combo); });
    PressAndWait(VK_DOWN, [&] { return combo->GetCurIndex() == 1; });
    PressAndWait(VK_RETURN, [&] { return !Dropped(combo); });
    gui::PumpUntilIdle();
    EXPECT_EQ(combo->GetCurIndex(), 1);
    EXPECT_TRUE(charsSeen.empty()) << "neither key reached the edit window";

    // With the list closed both keys pass through to the edit window; Tab moves the
    // focus on, and its character never reaches the edit window.
    gui::PressKey(VK_ESCAPE);
    PressAndWait(VK_RETURN, [] { return charsSeen.size() == 2; });
    PressAndWait(VK_TAB, [&] { return GetFocus() == first->Handle; });
    gui::PumpUntilIdle();
    EXPECT_EQ(charsSeen, (std::vector<WPARAM>{VK_ESCAPE, VK_RETURN}));
    EXPECT_EQ(combo->GetCurIndex(), 1);
    SetPropA(edit, "PREV_PROC", (HANDLE)realPartProc);
}

