// Notifications as a user causes them: real mouse clicks and keys on buttons,
// check boxes, edit, list and combo boxes, and what the controls answer for
// colour requests, focus and background.
#include "WolTestForm.h"

#include <vector>

namespace {

// Counts how deep the thread is inside the form's processing of a combo box's
// CBN_SELCHANGE, seen by hooks around every window procedure call.
int SelChangeDepth = 0;
HHOOK CallHook = nullptr;
HHOOK ReturnHook = nullptr;

bool IsSelChange(UINT message, WPARAM wParam)
{
    return message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE;
}

LRESULT CALLBACK OnCall(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = (CWPSTRUCT*)lParam;
    if (code == HC_ACTION && IsSelChange(call->message, call->wParam))
        ++SelChangeDepth;
    return CallNextHookEx(CallHook, code, wParam, lParam);
}

LRESULT CALLBACK OnReturn(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = (CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && IsSelChange(call->message, call->wParam))
        --SelChangeDepth;
    return CallNextHookEx(ReturnHook, code, wParam, lParam);
}

struct ChangeRecord {
    int Count = 0;
    int DepthSeen = 0;
};

void RecordChange(void* context, TWidget*)
{
    auto* record = (ChangeRecord*)context;
    ++record->Count;
    record->DepthSeen += SelChangeDepth;
}

// Stands in as the "PREV_PROC" of a combo box's inner window: records the
// characters that reach it, then passes everything to the real procedure.
std::vector<WPARAM> CharsSeen;
WNDPROC RealPartProc = nullptr;

LRESULT CALLBACK RecordingPartProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR)
        CharsSeen.push_back(wParam);
    return CallWindowProcA(RealPartProc, window, message, wParam, lParam);
}

HWND ComboEdit(TWidget* combo)
{
    return GetWindow(combo->Handle, GW_CHILD);
}

bool Dropped(TWidget* combo)
{
    return combo->SendToWidget(CB_GETDROPPEDSTATE, 0, 0) != 0;
}

}

TEST_F(FormTest, ButtonClickedAndDoubleClickedWithTheMouse)
{
    TWidget* button = NewButton(Form, "Press");
    button->SetSize(120, 30);
    int clicks = 0, changes = 0;
    button->ClickEvent = Counter(clicks);
    button->ChangeEvent = Counter(changes);
    Show();

    gui::ClickAt(button->Handle, gui::ClientCenter(button->Handle));
    ASSERT_TRUE(gui::WaitUntil([&] { return clicks == 1; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(button, Form->FocusedControl);

    gui::ClickAt(button->Handle, gui::ClientCenter(button->Handle), 2);
    ASSERT_TRUE(gui::WaitUntil([&] { return clicks == 3; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(3, clicks);
    EXPECT_EQ(0, changes);

    SendMessageA(button->Handle, BM_CLICK, 0, 0);
    EXPECT_EQ(4, clicks);
}

TEST_F(FormTest, CheckBoxDoubleClickedTogglesTwice)
{
    TWidget* box = NewCheckBox(Form, "Two pass");
    int clicks = 0;
    box->ClickEvent = Counter(clicks);
    Show();

    gui::ClickAt(box->Handle, POINT{8, 11});
    ASSERT_TRUE(gui::WaitUntil([&] { return clicks == 1; }));
    EXPECT_EQ(BST_CHECKED, box->GetChecked());

    gui::ClickAt(box->Handle, POINT{8, 11}, 2);
    ASSERT_TRUE(gui::WaitUntil([&] { return clicks == 3; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(3, clicks);
    EXPECT_EQ(BST_CHECKED, box->GetChecked());
}

TEST_F(FormTest, ClickDuringTheLayersOwnFocusChangeFiresNothing)
{
    TWidget* button = NewButton(Form, "Quiet");
    int clicks = 0;
    button->ClickEvent = Counter(clicks);
    Show();
    ++button->FocusChanging;
    SendMessageA(button->Handle, BM_CLICK, 0, 0);
    --button->FocusChanging;
    EXPECT_EQ(0, clicks);
}

TEST_F(FormTest, TypingIntoAnEditBoxFiresChangePerCharacter)
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

    edit->Focus(true);
    ASSERT_TRUE(gui::WaitUntil([&] { return enters == 1; }));
    gui::TypeText("2500");
    ASSERT_TRUE(gui::WaitUntil([&] { return edit->GetText() == "2500"; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(4, changes);
    EXPECT_EQ(0, clicks);

    gui::ClickAt(other->Handle, gui::ClientCenter(other->Handle));
    ASSERT_TRUE(gui::WaitUntil([&] { return leaves == 1; }));
    EXPECT_EQ(other, Form->FocusedControl);
}

TEST_F(FormTest, ListBoxSelectionAndDoubleClick)
{
    TWidget* list = NewListBox(Form, 16);
    for (const char* item : {"a.avi", "b.avi", "c.avi"})
        list->AddItem(item);
    int changes = 0, clicks = 0;
    list->ChangeEvent = Counter(changes);
    list->ClickEvent = Counter(clicks);
    Show();

    int itemHeight = (int)list->SendToWidget(LB_GETITEMHEIGHT, 0, 0);
    POINT second = {20, itemHeight + itemHeight / 2};
    gui::ClickAt(list->Handle, second);
    ASSERT_TRUE(gui::WaitUntil([&] { return changes == 1; }));
    EXPECT_EQ(1, list->GetCurIndex());
    EXPECT_EQ(0, clicks);

    int selChanges = 0;
    list->SelChangeEvent = Counter(selChanges);
    gui::ClickAt(list->Handle, POINT{20, itemHeight / 2}, 2);
    ASSERT_TRUE(gui::WaitUntil([&] { return clicks == 1; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(1, changes);   // SelChangeEvent, when assigned, takes its place
    EXPECT_GE(selChanges, 1);
}

TEST_F(FormTest, ChoosingAComboItemFiresChangeOnceAfterTheNotification)
{
    TWidget* combo = NewComboBox(Form, 16);
    for (const char* item : {"1000", "2000", "3000"})
        combo->AddItem(item);
    ChangeRecord record;
    combo->ChangeEvent = TEventHandler{RecordChange, &record};
    Show();
    CallHook = SetWindowsHookExA(WH_CALLWNDPROC, OnCall, nullptr, GetCurrentThreadId());
    ReturnHook = SetWindowsHookExA(WH_CALLWNDPROCRET, OnReturn, nullptr, GetCurrentThreadId());

    combo->Focus(true);
    gui::PressKey(VK_DOWN);
    ASSERT_TRUE(gui::WaitUntil([&] { return record.Count == 1; }));
    gui::PumpUntilIdle();
    UnhookWindowsHookEx(CallHook);
    UnhookWindowsHookEx(ReturnHook);

    EXPECT_EQ(1, record.Count);
    EXPECT_EQ(0, record.DepthSeen);
    EXPECT_EQ(1, combo->GetCurIndex());
    EXPECT_STREQ("2000", combo->GetText().CStr());
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
    ASSERT_NE(nullptr, GetPropA(edit, "PREV_PROC"));
    RealPartProc = (WNDPROC)GetPropA(edit, "PREV_PROC");
    SetPropA(edit, "PREV_PROC", (HANDLE)RecordingPartProc);

    // The inner edit window reports the focus for the combo box.
    EXPECT_EQ(first, Form->FocusedControl);
    gui::ClickAt(edit, gui::ClientCenter(edit));
    ASSERT_TRUE(gui::WaitUntil([&] { return GetFocus() == edit; }));
    EXPECT_EQ(combo, Form->FocusedControl);

    // Esc: the list opened on item 0 and the user moved to item 2.
    gui::PressKey(VK_F4);
    ASSERT_TRUE(gui::WaitUntil([&] { return Dropped(combo); }));
    EXPECT_EQ(0, combo->DropDownIndex);
    gui::PressKey(VK_DOWN);
    gui::PressKey(VK_DOWN);
    ASSERT_TRUE(gui::WaitUntil([&] { return combo->GetCurIndex() == 2; }));
    gui::PressKey(VK_ESCAPE);
    ASSERT_TRUE(gui::WaitUntil([&] { return !Dropped(combo); }));
    gui::PumpUntilIdle();
    EXPECT_EQ(0, combo->GetCurIndex());
    EXPECT_FALSE(combo->DroppedDown);
    EXPECT_EQ(1, closeUps);

    // Enter: the new choice stays.
    gui::PressKey(VK_F4);
    ASSERT_TRUE(gui::WaitUntil([&] { return Dropped(combo); }));
    gui::PressKey(VK_DOWN);
    ASSERT_TRUE(gui::WaitUntil([&] { return combo->GetCurIndex() == 1; }));
    gui::PressKey(VK_RETURN);
    ASSERT_TRUE(gui::WaitUntil([&] { return !Dropped(combo); }));
    gui::PumpUntilIdle();
    EXPECT_EQ(1, combo->GetCurIndex());
    EXPECT_TRUE(CharsSeen.empty());   // neither key reached the edit window

    // With the list closed both keys pass through to the edit window; Tab never.
    gui::PressKey(VK_TAB);
    gui::PressKey(VK_ESCAPE);
    gui::PressKey(VK_RETURN);
    ASSERT_TRUE(gui::WaitUntil([&] { return CharsSeen.size() == 2; }));
    EXPECT_EQ((std::vector<WPARAM>{VK_ESCAPE, VK_RETURN}), CharsSeen);
    EXPECT_EQ(1, combo->GetCurIndex());
    SetPropA(edit, "PREV_PROC", (HANDLE)RealPartProc);
}

TEST_F(FormTest, ControlsAnswerColourRequestsWithTheirOwnColours)
{
    TWidget* label = NewLabel(Form, "Colour");
    TWidget* clear = NewLabel(Form, "Clear");
    TWidget* combo = NewComboBox(Form, 16);
    label->SetColor(RGB(200, 10, 10));
    label->TextColor = RGB(1, 2, 3);
    clear->Transparent = true;
    combo->SetColor(RGB(0, 90, 0));
    combo->Transparent = true;
    Show();
    HDC dc = GetDC(Form->Handle);

    LRESULT brush = SendMessageA(Form->Handle, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label->Handle);
    EXPECT_EQ((LRESULT)label->GetBackBrush(), brush);
    EXPECT_EQ(RGB(200, 10, 10), GetBkColor(dc));
    EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc));
    EXPECT_EQ(OPAQUE, GetBkMode(dc));

    brush = SendMessageA(Form->Handle, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)clear->Handle);
    EXPECT_EQ((LRESULT)GetStockObject(NULL_BRUSH), brush);
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));

    // The combo box's inner windows ask the combo box, which answers for itself;
    // its open list stays opaque although the combo box is transparent.
    brush = SendMessageA(combo->Handle, WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)ComboEdit(combo));
    EXPECT_EQ((LRESULT)GetStockObject(NULL_BRUSH), brush);
    brush = SendMessageA(combo->Handle, WM_CTLCOLORLISTBOX, (WPARAM)dc, 0);
    EXPECT_EQ((LRESULT)combo->GetBackBrush(), brush);
    EXPECT_EQ(OPAQUE, GetBkMode(dc));
    EXPECT_EQ(RGB(0, 90, 0), GetBkColor(dc));
    ReleaseDC(Form->Handle, dc);
}

TEST_F(FormTest, FormBackgroundIsPaintedWithItsColourAndMakesLateChildren)
{
    Form->SetColor(RGB(30, 60, 90));
    Show();
    TWidget* late = NewButton(Form, "late");

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(Form->Handle, WM_ERASEBKGND, (WPARAM)dc, 0);
    EXPECT_EQ(RGB(30, 60, 90), GetPixel(dc, 3, 3));
    EXPECT_NE(nullptr, late->Handle);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(FormTest, FormGivesItsFocusBackToTheLastFocusedControl)
{
    TWidget* first = NewEditBox(Form, 0);
    TWidget* second = NewEditBox(Form, 0);
    second->SetTop(40);
    Show();
    EXPECT_EQ(first, Form->FocusedControl);

    gui::ClickAt(second->Handle, gui::ClientCenter(second->Handle));
    ASSERT_TRUE(gui::WaitUntil([&] { return GetFocus() == second->Handle; }));
    EXPECT_EQ(second, Form->FocusedControl);

    SetFocus(Form->Handle);
    EXPECT_EQ(second->Handle, GetFocus());
}
