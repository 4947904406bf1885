// Creation of forms and controls: styles, identifiers, default rectangles, the
// form's first focused control, and the combo box's opening list.
#include "WolTestSupport.h"

namespace {

// Taken before any test runs: the counter is constant-initialised.
const uint16_t InitialControlId = ControlIdCounter;

void ExpectRect(const RECT& actual, int left, int top, int width, int height, const char* kind)
{
    EXPECT_EQ(actual.left, left) << kind;
    EXPECT_EQ(actual.top, top) << kind;
    EXPECT_EQ(actual.right - actual.left, width) << kind;
    EXPECT_EQ(actual.bottom - actual.top, height) << kind;
}

}

TEST_F(FormTest, EachKindHasItsStylesAndTheWindowsCarryThem)
{
    // The fixture's form already has its window: a fresh form shows the fields as
    // creation leaves them.
    TWidget* form = NewForm(nullptr, "Fresh form");
    struct {
        const char* Kind;
        TWidget* Widget;
        DWORD Style;
        DWORD ExStyle;
    } rows[] = {
        {"form", form, 0x16CF0000, 0x00010000},
        {"button", NewButton(Form, "B"), 0x56015000, 0x00010000},
        {"check box", NewCheckBox(Form, "C"), 0x50014003, 0x00010000},
        {"label", NewLabel(Form, "L"), 0x5600018C, 0x00010000},
        {"group box", NewGroupBox(Form, "G"), 0x56000007, 0x00010000},
        {"edit box", NewEditBox(Form, 0), 0x560100C0, 0x00010200},
        {"list box", NewListBox(Form, 16), 0x56210941, 0x00010200},
        {"combo box", NewComboBox(Form, 16), 0x56210642, 0x00010200},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.Widget->Style, row.Style) << row.Kind;
        EXPECT_EQ(row.Widget->ExStyle, row.ExStyle) << row.Kind;
    }
    Free(form);
    rows[0].Widget = Form;

    Show();
    // Lists show their scroll bar only when needed, and a combo box draws its own
    // sunken edge: those bits are the controls' own business once they exist.
    for (const auto& row : rows) {
        const DWORD style = row.Style & ~WS_VSCROLL, exStyle = row.ExStyle & ~WS_EX_CLIENTEDGE;
        EXPECT_EQ((DWORD)GetWindowLongPtrA(row.Widget->Handle, GWL_STYLE) & style, style) << row.Kind;
        EXPECT_EQ((DWORD)GetWindowLongPtrA(row.Widget->Handle, GWL_EXSTYLE) & exStyle, exStyle) << row.Kind;
    }
    EXPECT_EQ(gui::WindowClass(rows[7].Widget->Handle), "obj_COMBOBOX");
    EXPECT_EQ((DWORD)GetClassLongPtrA(Form->Handle, GCL_STYLE), (DWORD)CS_DBLCLKS);
}

TEST_F(FormTest, ControlsTakeConsecutiveIdsFrom0x8000AndTheFirstTabStopHoldsTheFocus)
{
    EXPECT_EQ(InitialControlId, 0x8000);
    EXPECT_EQ(Form->MenuOrId, 0u);
    EXPECT_EQ(Form->FocusedControl, nullptr);
    const uint16_t first = ControlIdCounter;
    TWidget* group = NewGroupBox(Form, "G");
    TWidget* label = NewLabel(group, "L");
    EXPECT_EQ(Form->FocusedControl, nullptr) << "neither takes the focus";
    TWidget* button = NewButton(group, "B");
    TWidget* edit = NewEditBox(Form, 0);
    EXPECT_EQ(Form->FocusedControl, button);
    EXPECT_FALSE(group->TabStop || label->TabStop);
    EXPECT_TRUE(edit->TabStop);
    TWidget* controls[] = {group, label, button, edit};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(controls[i]->MenuOrId, (UINT_PTR)(uint16_t)(first + i));

    Show();
    EXPECT_EQ(GetDlgCtrlID(edit->Handle), (int)edit->MenuOrId);
    EXPECT_EQ(GetParent(button->Handle), group->Handle);
    ControlIdCounter = 0xFFFF;
    EXPECT_EQ(NewLabel(Form, "")->MenuOrId, 0xFFFFu);
    EXPECT_EQ(NewLabel(Form, "")->MenuOrId, 0u);
}

TEST_F(FormTest, DefaultRectanglesFollowTheParentsMarginAndInsets)
{
    ExpectRect(NewForm(nullptr, "Other")->BoundsRect, 0, 0, 0, 0, "form");
    TWidget* group = NewGroupBox(Form, "G");
    ExpectRect(group->BoundsRect, 2, 2, 100, 100, "group box on a form");
    const struct {
        const char* Kind;
        TWidget* Widget;
        int Width, Height;
    } rows[] = {
        {"button", NewButton(group, "B"), 62, 22},     {"check box", NewCheckBox(group, "C"), 72, 22},
        {"label", NewLabel(group, "L"), 62, 22},       {"edit box", NewEditBox(group, 0), 100, 22},
        {"list box", NewListBox(group, 16), 162, 200}, {"combo box", NewComboBox(group, 16), 98, 22},
    };
    for (const auto& row : rows)
        ExpectRect(row.Widget->BoundsRect, 4, 24, row.Width, row.Height, row.Kind);
}

