// Controls on real windows: identifiers and the first focus, items, geometry and
// window state, fonts and background brushes.
#include "WolTestSupport.h"

using Widgets = WolTest;

static HGDIOBJ WindowFont(TWidget* widget) { return (HGDIOBJ)SendMessageA(widget->Handle, WM_GETFONT, 0, 0); }

static COLORREF BrushColor(HBRUSH brush)
{
    LOGBRUSH description = {};
    GetObjectA(brush, sizeof description, &description);
    return description.lbColor;
}

static HGDIOBJ arrived, old;   // the font a WM_SETFONT brought first, and the one it replaced
static bool oldAliveOnArrival;

// Identifiers run on from 0xFFFF to 0; the first tab stop of a form holds its
// focus. Item text outside a list is empty and fetched from nowhere. Settings equal
// to the current ones make no window call; a size of 0 keeps that dimension.
// Minimising a minimised window calls Windows no more, until the user restores it.
TEST_F(Widgets, IdentifiersItemsGeometryAndWindowState)
{
    ControlIdCounter = 0xFFFF;
    TWidget* label = NewLabel(Form, "L");
    EXPECT_EQ(Form->FocusedControl, nullptr) << "a label takes no focus";
    TWidget* button = NewButton(Form, "B");
    TWidget* list = NewListBox(Form, 16);
    EXPECT_EQ(Form->FocusedControl, button);
    EXPECT_EQ((std::vector<UINT_PTR>{label->MenuOrId, button->MenuOrId, list->MenuOrId}), (std::vector<UINT_PTR>{0xFFFF, 0, 1}));
    list->AddItem("x");
    list->AttachHandler(RecordMessage, false);
    EXPECT_TRUE(list->GetItemText(1).IsEmpty() && list->GetItemText(-1).IsEmpty() && !CountSeen(list, LB_GETTEXT));

    button->SetPosition(10, 10)->SetSize(60, 20);
    Show();
    label->SetText("");   // no byte of the old caption shows through
    EXPECT_EQ(gui::Text(label->Handle), "");
    RECT window, client;
    GetWindowRect(Form->Handle, &window);
    GetClientRect(Form->Handle, &client);
    EXPECT_EQ((std::vector<LONG>{window.left, window.top, client.right, client.bottom}), (std::vector<LONG>{120, 100, 480, 360}));
    button->AttachHandler(RecordMessage, false);
    Form->AttachHandler(RecordMessage, false);
    button->SetPosition(10, 10)->SetSize(60, 20)->SetSize(0, 0);
    Form->SetPosition(120, 100)->SetClientSize(480, 360)->SetClientSize(0, -1);
    EXPECT_EQ(CountSeen(button, WM_WINDOWPOSCHANGING) + CountSeen(Form, WM_WINDOWPOSCHANGING), 0);
    button->SetSize(90, 0)->SetSize(0, 35);
    EXPECT_EQ((std::vector<int>{button->GetWidth(), button->GetHeight(), CountSeen(button, WM_WINDOWPOSCHANGING)}),
              (std::vector<int>{90, 35, 2}));

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
// goes. Children of one colour share the background brush of the topmost of them,
// which is made again after a change of the system colour.
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
    LOGFONTA made = {};
    GetObjectA(old = WindowFont(field), sizeof made, &made);
    EXPECT_EQ(made.lfWeight * 10 + made.lfPitchAndFamily, FW_BOLD * 10 + FIXED_PITCH);
    EXPECT_EQ((std::vector<HGDIOBJ>{ToolHandle(formFont), WindowFont(label)}), (std::vector<HGDIOBJ>{shared, shared}));
    field->AttachHandler([](TWidget*, TMessageRecord& record, LRESULT&) {
        if (record.Message == WM_SETFONT && !arrived) {
            arrived = (HGDIOBJ)record.WParam;
            oldAliveOnArrival = GetObjectType(old) == OBJ_FONT;
        }
        return false;
    }, false);
    SetFontStyle(field->Font, fsBold | fsItalic);
    EXPECT_TRUE(arrived != old && oldAliveOnArrival && WindowFont(field) == arrived);

    HBRUSH brush = label->GetBackBrush();
    EXPECT_EQ((std::vector<HBRUSH>{other->GetBackBrush(), group->GetBackBrush(), Form->BackBrush, label->BackBrush}),
              (std::vector<HBRUSH>{brush, brush, brush, nullptr}));
    other->SetColor(RGB(10, 20, 30));
    EXPECT_EQ(BrushColor(other->GetBackBrush()), RGB(10, 20, 30));
    other->SetColor(RGB(40, 50, 60));
    EXPECT_EQ(BrushColor(other->GetBackBrush()), RGB(40, 50, 60));
    EXPECT_EQ(label->GetBackBrush(), brush);
    Form->BackBrushColor ^= 0x00FFFFFF;
    EXPECT_EQ(BrushColor(label->GetBackBrush()), GetSysColor(COLOR_BTNFACE));
}
