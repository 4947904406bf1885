// Controls on real windows: identifiers and the first focus, items, checks and
// programmatic clicks, geometry and window state, fonts and background brushes.
#include "WolTestSupport.h"

namespace {

using Widgets = WolTest;

HGDIOBJ WindowFont(TWidget* widget) { return (HGDIOBJ)SendMessageA(widget->Handle, WM_GETFONT, 0, 0); }

COLORREF BrushColor(HBRUSH brush)
{
    LOGBRUSH description = {};
    GetObjectA(brush, sizeof description, &description);
    return description.lbColor;
}

}

// Identifiers run on from 0xFFFF to 0; the first tab stop of a form holds its focus.
// Item text outside a list is empty and fetched from nowhere; setting a check fires
// nothing, a programmatic click fires once and takes the focus.
TEST_F(Widgets, IdentifiersFocusItemsChecksAndClicks)
{
    ControlIdCounter = 0xFFFE;
    TWidget* group = NewGroupBox(Form, "G");
    TWidget* label = NewLabel(group, "L");
    EXPECT_EQ(Form->FocusedControl, nullptr) << "neither takes the focus";
    TWidget* button = NewButton(group, "B");
    TWidget* box = NewCheckBox(Form, "C");
    TWidget* list = NewListBox(Form, 16);
    EXPECT_EQ(Form->FocusedControl, button);
    EXPECT_EQ((std::vector<UINT_PTR>{group->MenuOrId, label->MenuOrId, button->MenuOrId, box->MenuOrId}),
              (std::vector<UINT_PTR>{0xFFFE, 0xFFFF, 0, 1}));
    for (const char* item : {"x", "C:\\Videos\\clip.avi"})
        list->AddItem(item);
    list->AttachHandler(RecordMessage, false);
    EXPECT_TRUE(list->GetItemText(2).IsEmpty() && list->GetItemText(-1).IsEmpty());
    EXPECT_EQ(CountSeen(list, LB_GETTEXT), 0);
    list->DeleteItem(7);
    EXPECT_EQ(list->InsertItem(9, "nowhere"), -1);
    EXPECT_EQ(gui::Items(list->Handle), (std::vector<std::string>{"x", "C:\\Videos\\clip.avi"}));

    int clicks[4] = {}, changes = 0;
    TWidget* clicked[] = {box, button, list, label};
    for (int i = 0; i < 4; ++i)
        clicked[i]->ClickEvent = Counter(clicks[i]);
    box->ChangeEvent = Counter(changes);
    Show();
    box->SetChecked(true);
    EXPECT_EQ(box->GetChecked(), 1);
    box->SetChecked(false);
    gui::Settle();
    EXPECT_EQ(clicks[0], 0);
    box->Click();
    EXPECT_EQ(box->GetChecked(), 0);
    EXPECT_EQ(GetFocus(), box->Handle);
    EXPECT_EQ(Form->FocusedControl, box);
    button->Click();
    list->Click();
    label->Click();   // a label clicks with the mouse messages and reports STN_CLICKED
    gui::Settle();
    EXPECT_EQ((std::vector<int>{clicks[0], clicks[1], clicks[2], clicks[3], changes}), (std::vector<int>{1, 1, 1, 1, 0}));
}

// Settings equal to the current ones make no window call; a size of 0 keeps that
// dimension. Minimising a minimised window calls Windows no more, until the user
// restores it.
TEST_F(Widgets, GeometryAndWindowState)
{
    TWidget* button = NewButton(Form, "B");
    button->SetPosition(10, 10)->SetSize(60, 20);
    Show();
    RECT window, client;
    GetWindowRect(Form->Handle, &window);
    GetClientRect(Form->Handle, &client);
    EXPECT_EQ((std::vector<LONG>{window.left, window.top, client.right, client.bottom}),
              (std::vector<LONG>{120, 100, 480, 360}));
    button->AttachHandler(RecordMessage, false);
    Form->AttachHandler(RecordMessage, false);
    button->SetPosition(10, 10)->SetSize(60, 20)->SetSize(0, 0);
    Form->SetPosition(120, 100)->SetClientSize(480, 360)->SetClientSize(0, -1);
    EXPECT_EQ(CountSeen(button, WM_WINDOWPOSCHANGING) + CountSeen(Form, WM_WINDOWPOSCHANGING), 0);
    button->SetSize(90, 0);
    EXPECT_EQ(button->GetWidth() * 100 + button->GetHeight(), 9020);
    button->SetSize(0, 35);
    EXPECT_EQ(button->GetWidth() * 100 + button->GetHeight(), 9035);
    EXPECT_EQ(CountSeen(button, WM_WINDOWPOSCHANGING), 2);

    Form->SetWindowState(1);
    EXPECT_TRUE(IsIconic(Form->Handle));
    ShowWindow(Form->Handle, SW_HIDE);   // a window call now would show it again
    Form->SetWindowState(1);
    EXPECT_FALSE(IsWindowVisible(Form->Handle));
    ShowWindow(Form->Handle, SW_RESTORE);
    Form->SetWindowState(1);
    EXPECT_TRUE(IsIconic(Form->Handle));
}

// A control's font is a copy of its parent's that uses the parent's object while
// their data are equal. A changed font reaches the window before its old object
// goes. Children of one colour share the background brush of the topmost of them.
TEST_F(Widgets, FontsAndBackgroundBrushes)
{
    TGdiTool* formFont = Form->GetFont();
    TWidget* group = NewGroupBox(Form, "G");
    TWidget* label = NewLabel(group, "Label");
    TWidget* field = NewEditBox(group, 0);
    TWidget* other = NewButton(group, "B");
    ASSERT_NE(Form->GetHandle(), nullptr);
    HGDIOBJ shared = ToolHandle(formFont);
    EXPECT_EQ((std::vector<HGDIOBJ>{WindowFont(label), WindowFont(field), ToolHandle(label->Font)}),
              (std::vector<HGDIOBJ>{shared, shared, shared}));
    SetFontStyle(field->Font, fsBold);
    SetFontPitch(field->Font, FIXED_PITCH);
    HGDIOBJ own = WindowFont(field);
    LOGFONTA made = {};
    GetObjectA(own, sizeof made, &made);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_EQ(made.lfPitchAndFamily, FIXED_PITCH);
    EXPECT_EQ((std::vector<HGDIOBJ>{ToolHandle(formFont), WindowFont(label)}), (std::vector<HGDIOBJ>{shared, shared}));
    static HGDIOBJ arrived, old;
    static bool oldAliveOnArrival;
    old = own;
    field->AttachHandler([](TWidget*, TMessageRecord& record, LRESULT&) {
        if (record.Message == WM_SETFONT && !arrived) {
            arrived = (HGDIOBJ)record.WParam;
            oldAliveOnArrival = GetObjectType(old) == OBJ_FONT;
        }
        return false;
    }, false);
    SetFontStyle(field->Font, fsBold | fsItalic);
    EXPECT_NE(arrived, own);
    EXPECT_TRUE(oldAliveOnArrival);
    EXPECT_EQ(WindowFont(field), arrived);

    HBRUSH brush = label->GetBackBrush();
    EXPECT_EQ((std::vector<HBRUSH>{other->GetBackBrush(), group->GetBackBrush(), Form->BackBrush, label->BackBrush}),
              (std::vector<HBRUSH>{brush, brush, brush, nullptr}));
    EXPECT_EQ(BrushColor(brush), GetSysColor(COLOR_BTNFACE));
    other->SetColor(RGB(10, 20, 30));
    EXPECT_EQ(BrushColor(other->GetBackBrush()), RGB(10, 20, 30));
    other->SetColor(RGB(40, 50, 60));
    EXPECT_EQ(BrushColor(other->GetBackBrush()), RGB(40, 50, 60));
    EXPECT_EQ(label->GetBackBrush(), brush);
    // After a change of the system colour the stale brush is made again.
    Form->BackBrushColor ^= 0x00FFFFFF;
    EXPECT_EQ(BrushColor(label->GetBackBrush()), GetSysColor(COLOR_BTNFACE));
}
