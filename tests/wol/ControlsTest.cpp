// Creation of forms and controls: styles, identifiers, default rectangles, the
// form's first focused control, fonts taken from the parent, and the combo box's
// opening list.
#include "WolTestForm.h"

namespace {

// Taken before any test runs: the counter is constant-initialised.
const uint16_t InitialControlId = ControlIdCounter;

struct StyleRow {
    const char* Kind;
    TWidget* Widget;
    DWORD Style;
    DWORD ExStyle;
};

RECT Rect(int left, int top, int width, int height)
{
    return RECT{left, top, left + width, top + height};
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* kind)
{
    EXPECT_EQ(expected.left, actual.left) << kind;
    EXPECT_EQ(expected.top, actual.top) << kind;
    EXPECT_EQ(expected.right, actual.right) << kind;
    EXPECT_EQ(expected.bottom, actual.bottom) << kind;
}

}

TEST_F(FormTest, EachKindHasItsStylesAndTheWindowsCarryThem)
{
    // The fixture's form already has its window, made hidden: a fresh form shows
    // the fields as creation leaves them.
    TWidget* form = NewForm(nullptr, "Fresh form");
    StyleRow rows[] = {
        {"form", form, 0x16CF0000, 0x00010000},
        {"button", NewButton(Form, "B"), 0x56015000, 0x00010000},
        {"check box", NewCheckBox(Form, "C"), 0x50014003, 0x00010000},
        {"label", NewLabel(Form, "L"), 0x5600018C, 0x00010000},
        {"group box", NewGroupBox(Form, "G"), 0x56000007, 0x00010000},
        {"edit box", NewEditBox(Form, 0), 0x560100C0, 0x00010200},
        {"list box", NewListBox(Form, 16), 0x56210941, 0x00010200},
        {"combo box", NewComboBox(Form, 16), 0x56210642, 0x00010200},
    };
    for (const StyleRow& row : rows) {
        EXPECT_EQ(row.Style, row.Widget->Style) << row.Kind;
        EXPECT_EQ(row.ExStyle, row.Widget->ExStyle) << row.Kind;
    }
    Free(form);
    rows[0].Widget = Form;

    Show();
    // Lists show their scroll bar only when needed, and a combo box draws its own
    // sunken edge: those bits are the controls' own business once they exist.
    const DWORD ownStyle = WS_VSCROLL;
    const DWORD ownExStyle = WS_EX_CLIENTEDGE;
    for (const StyleRow& row : rows) {
        DWORD style = (DWORD)GetWindowLongPtrA(row.Widget->Handle, GWL_STYLE);
        DWORD exStyle = (DWORD)GetWindowLongPtrA(row.Widget->Handle, GWL_EXSTYLE);
        EXPECT_EQ(row.Style & ~ownStyle, style & row.Style & ~ownStyle) << row.Kind;
        EXPECT_EQ(row.ExStyle & ~ownExStyle, exStyle & row.ExStyle & ~ownExStyle) << row.Kind;
    }
    EXPECT_TRUE(IsWindowVisible(rows[1].Widget->Handle));
    EXPECT_EQ("obj_COMBOBOX", gui::WindowClass(rows[7].Widget->Handle));
    EXPECT_EQ(CS_DBLCLKS, (DWORD)GetClassLongPtrA(Form->Handle, GCL_STYLE));
}

TEST_F(FormTest, OptionSetsSelectTheVariantsOfEachKind)
{
    const DWORD typeMask = CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST;
    EXPECT_EQ((DWORD)CBS_DROPDOWN, NewComboBox(Form, 0)->Style & typeMask);
    EXPECT_EQ((DWORD)CBS_DROPDOWNLIST, NewComboBox(Form, 1 << 0)->Style & typeMask);
    EXPECT_EQ((DWORD)CBS_SIMPLE, NewComboBox(Form, 1 << 10)->Style & typeMask);
    EXPECT_EQ(0u, NewComboBox(Form, 1 << 1)->Style & CBS_AUTOHSCROLL);

    EXPECT_EQ((DWORD)(LBS_EXTENDEDSEL | LBS_HASSTRINGS),
              NewListBox(Form, 0)->Style & (LBS_EXTENDEDSEL | LBS_HASSTRINGS));
    EXPECT_EQ(0u, NewListBox(Form, 1 << 1)->Style & LBS_EXTENDEDSEL);
    EXPECT_EQ(0u, NewListBox(Form, 1 << 8)->Style & LBS_HASSTRINGS);
    EXPECT_EQ((DWORD)(LBS_SORT | LBS_NOINTEGRALHEIGHT),
              NewListBox(Form, (1 << 6) | (1 << 4))->Style & (LBS_SORT | LBS_NOINTEGRALHEIGHT));

    const DWORD scrollBars = WS_HSCROLL | WS_VSCROLL;
    TWidget* single = NewEditBox(Form, 0);
    TWidget* multi = NewEditBox(Form, 1 << 3);
    TWidget* multiNoScroll = NewEditBox(Form, (1 << 3) | (1 << 0) | (1 << 1));
    TWidget* password = NewEditBox(Form, (1 << 6) | (1 << 11));
    EXPECT_EQ(0u, single->Style & scrollBars);
    EXPECT_EQ(scrollBars, multi->Style & scrollBars);
    EXPECT_EQ((DWORD)ES_MULTILINE, multi->Style & ES_MULTILINE);
    EXPECT_EQ(0u, multiNoScroll->Style & (scrollBars | ES_AUTOHSCROLL | ES_AUTOVSCROLL));
    EXPECT_EQ((DWORD)(ES_PASSWORD | ES_NUMBER), password->Style & (ES_PASSWORD | ES_NUMBER));
    EXPECT_EQ(200, multi->BoundsRect.right - multi->BoundsRect.left);
    EXPECT_EQ(200, multi->BoundsRect.bottom - multi->BoundsRect.top);
}

TEST_F(FormTest, ParentWithout3DChildrenKeepsTheBorder)
{
    Form->Ctl3DChildren = 0;
    TWidget* edit = NewEditBox(Form, 0);
    EXPECT_EQ(0, edit->Ctl3D);
    EXPECT_EQ((DWORD)WS_BORDER, edit->Style & WS_BORDER);
    EXPECT_EQ(0u, edit->ExStyle & WS_EX_CLIENTEDGE);
}

TEST_F(FormTest, ControlsTakeConsecutiveIdsAndTheFirstTabStopHoldsTheFocus)
{
    EXPECT_EQ(0x8000, InitialControlId);
    EXPECT_EQ(0u, Form->MenuOrId);
    EXPECT_EQ(nullptr, Form->FocusedControl);

    uint16_t first = ControlIdCounter;
    TWidget* group = NewGroupBox(Form, "G");
    TWidget* label = NewLabel(group, "L");
    EXPECT_EQ(nullptr, Form->FocusedControl);   // neither takes the focus
    TWidget* button = NewButton(group, "B");
    TWidget* edit = NewEditBox(Form, 0);
    EXPECT_EQ(button, Form->FocusedControl);
    EXPECT_FALSE(group->TabStop);
    EXPECT_FALSE(label->TabStop);
    EXPECT_TRUE(edit->TabStop);

    TWidget* controls[] = {group, label, button, edit};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((UINT_PTR)(uint16_t)(first + i), controls[i]->MenuOrId);

    Show();
    EXPECT_EQ((int)edit->MenuOrId, GetDlgCtrlID(edit->Handle));
    EXPECT_EQ(group->Handle, GetParent(button->Handle));

    ControlIdCounter = 0xFFFF;
    EXPECT_EQ(0xFFFFu, NewLabel(Form, "")->MenuOrId);
    EXPECT_EQ(0u, NewLabel(Form, "")->MenuOrId);
}

TEST_F(FormTest, DefaultRectanglesFollowTheParentsMarginAndInsets)
{
    ExpectRect(RECT{0, 0, 0, 0}, NewForm(nullptr, "Other")->BoundsRect, "form");
    TWidget* group = NewGroupBox(Form, "G");
    ExpectRect(Rect(2, 2, 100, 100), group->BoundsRect, "group box on a form");
    EXPECT_EQ(22, group->ClientInsetTop);
    EXPECT_EQ(2, group->ClientInsetLeft);

    struct {
        const char* Kind;
        TWidget* Widget;
        int Width, Height;
    } rows[] = {
        {"button", NewButton(group, "B"), 62, 22},
        {"check box", NewCheckBox(group, "C"), 72, 22},
        {"label", NewLabel(group, "L"), 62, 22},
        {"edit box", NewEditBox(group, 0), 100, 22},
        {"list box", NewListBox(group, 16), 162, 200},
        {"combo box", NewComboBox(group, 16), 98, 22},
    };
    for (const auto& row : rows)
        ExpectRect(Rect(4, 24, row.Width, row.Height), row.Widget->BoundsRect, row.Kind);
}

TEST_F(FormTest, ControlsCopyTheParentsFontAndColours)
{
    Form->SetColor(RGB(10, 20, 30));
    TGdiTool* formFont = Form->GetFont();
    SetFontStyle(formFont, fsBold);
    TWidget* label = NewLabel(Form, "L");
    TWidget* list = NewListBox(Form, 16);

    ASSERT_NE(nullptr, label->Font);
    EXPECT_NE(formFont, label->Font);
    EXPECT_EQ(formFont, label->Font->ParentTool);
    EXPECT_EQ(fsBold, GetFontStyle(label->Font));
    EXPECT_EQ(RGB(10, 20, 30), label->Color);
    EXPECT_EQ(clWindow, list->Color);   // only the list box takes the window colour

    Show();
    EXPECT_EQ((LRESULT)ToolHandle(formFont), SendMessageA(label->Handle, WM_GETFONT, 0, 0));
}

// The list opens tall enough for its items, one to eight of them.
TEST_F(FormTest, ComboListOpensForOneToEightItems)
{
    TWidget* combo = NewComboBox(Form, 16);
    Show();
    int height = combo->GetHeight();
    struct {
        int Items;
        int Shown;
    } cases[] = {{0, 1}, {1, 1}, {3, 3}, {9, 8}, {12, 8}};
    for (const auto& c : cases) {
        combo->SendToWidget(CB_RESETCONTENT, 0, 0);
        for (int i = 0; i < c.Items; ++i)
            combo->AddItem("item");
        combo->SendToWidget(CB_SHOWDROPDOWN, TRUE, 0);
        EXPECT_TRUE(combo->DroppedDown);
        // The combo box is sized h * (n + 1) + 2; the list takes all but the top h.
        RECT list;
        combo->SendToWidget(CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&list);
        EXPECT_EQ(height * c.Shown + 2, list.bottom - list.top) << c.Items << " items";
        combo->SendToWidget(CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_FALSE(combo->DroppedDown);
    }
}
