// Creation of the form and the standard controls: the system class each kind is
// built on, its styles, default rectangle, identifier, command table and the
// message handlers it gets. Only fields are filled here; the window is made later
// from them (Dispatch.cpp).
#include "wol/Controls.h"

#include "wol/Dialogs.h"
#include "wol/Notifications.h"

uint16_t ControlIdCounter = 0x8000;

//--- Command tables

static void ClearText(TWidget* widget)
{
    widget->SetText(TText());
}

static void ClearList(TWidget* widget)
{
    widget->SendToWidget(LB_RESETCONTENT, 0, 0);
}

static void ClearCombo(TWidget* widget)
{
    widget->SendToWidget(CB_RESETCONTENT, 0, 0);
}

// Field order: Clear, Add, notification codes (Click, Enter, Leave, Change,
// SelChange), then Count, TextLength, GetText, ReplaceSel, GetData, SetData, Add,
// Delete, Insert, LineIndex, LineFromChar, GetSel, CurIndex, SetSel, SetCurIndex,
// SetSelRange.
static const TActions ButtonActions = {
    ClearText, nullptr,
    BN_CLICKED, BN_SETFOCUS, BN_KILLFOCUS, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

static const TActions LabelActions = {
    ClearText, nullptr,
    STN_CLICKED, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

static const TActions EditActions = {
    ClearText, nullptr,
    0, EN_SETFOCUS, EN_KILLFOCUS, EN_CHANGE, 0,
    EM_GETLINECOUNT, EM_LINELENGTH, EM_GETLINE, EM_REPLACESEL, 0, 0, 0, 0, 0,
    EM_LINEINDEX, EM_LINEFROMCHAR, EM_GETSEL, EM_LINEINDEX, 0, 0, EM_SETSEL,
};

static const TActions ListActions = {
    ClearList, nullptr,
    LBN_DBLCLK, LBN_SETFOCUS, LBN_KILLFOCUS, 0, LBN_SELCHANGE,
    LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, 0, LB_GETITEMDATA, LB_SETITEMDATA,
    LB_ADDSTRING, LB_DELETESTRING, LB_INSERTSTRING,
    0, 0, 0, LB_GETCURSEL, LB_SETSEL, LB_SETCURSEL, 0,
};

static const TActions ComboActions = {
    ClearCombo, nullptr,
    CBN_DBLCLK, CBN_SETFOCUS, CBN_KILLFOCUS, CBN_EDITCHANGE, ComboSelChangeCode,
    CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0, CB_GETITEMDATA, CB_SETITEMDATA,
    CB_ADDSTRING, CB_DELETESTRING, CB_INSERTSTRING,
    0, 0, 0, CB_GETCURSEL, 0, CB_SETCURSEL, 0,
};

//--- Option tables: entry i belongs to option i; a negative entry is the
// complement of the bits that go in when the option is absent.

static const int32_t EditFlags[] = {
    ~(WS_HSCROLL | ES_AUTOHSCROLL), ~(WS_VSCROLL | ES_AUTOVSCROLL),
    ES_LOWERCASE, ES_MULTILINE, ES_NOHIDESEL, ES_OEMCONVERT, ES_PASSWORD,
    ES_READONLY, ES_UPPERCASE, ES_WANTRETURN, 0, ES_NUMBER,
};

static const int32_t ListFlags[] = {
    LBS_DISABLENOSCROLL, ~LBS_EXTENDEDSEL, LBS_MULTICOLUMN | WS_HSCROLL,
    LBS_MULTIPLESEL, LBS_NOINTEGRALHEIGHT, LBS_NOSEL, LBS_SORT, LBS_USETABSTOPS,
    ~LBS_HASSTRINGS, LBS_NODATA, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE,
};

static const int32_t ComboFlags[] = {
    CBS_DROPDOWNLIST, ~CBS_AUTOHSCROLL, CBS_DISABLENOSCROLL, CBS_LOWERCASE,
    CBS_NOINTEGRALHEIGHT, CBS_OEMCONVERT, CBS_SORT, CBS_UPPERCASE,
    CBS_OWNERDRAWFIXED, CBS_OWNERDRAWVARIABLE, CBS_SIMPLE,
};

const uint16_t EditMultiLine = 1 << 3;

template <int N>
static DWORD FlagsOf(uint16_t options, const int32_t (&table)[N])
{
    return OptionsToFlags(options, table, N);
}

//--- Common steps

// A copy of the parent's tool that shares its graphics object until either of
// them changes; the widget owns it and follows its changes through onChange.
static TGdiTool* CopyTool(TWidget* widget, TGdiTool* parentTool,
                          void (*onChange)(void* widget, TGdiTool* tool))
{
    TGdiTool* tool = AssignTool(nullptr, parentTool);
    tool->ParentTool = parentTool;
    tool->OnChange.Routine = onChange;
    tool->OnChange.Context = widget;
    onChange(widget, tool);
    widget->AddOwned(tool);
    return tool;
}

TWidget* CreateWidget(TWidget* parent, const char* className, bool ctl3D)
{
    TWidget* widget = NewWidget(parent);
    widget->ClassName = className;
    if (!parent)
        return widget;
    widget->Ctl3DChildren = parent->Ctl3DChildren;
    widget->Ctl3D = parent->Ctl3DChildren == 1 ? ctl3D : 0;
    widget->TextColor = parent->TextColor;
    widget->Color = parent->Color;
    if (parent->Font)
        widget->Font = CopyTool(widget, parent->Font, FontChanged);
    if (parent->Brush)
        widget->Brush = CopyTool(widget, parent->Brush, BrushChanged);
    widget->Margin = parent->Margin;
    return widget;
}

TWidget* CreateControl(TWidget* parent, const char* className, DWORD baseStyle,
                       const TActions& actions, bool ctl3D)
{
    TWidget* control = CreateWidget(parent, className, ctl3D);
    control->IsControl = true;
    control->Actions = actions;

    DWORD style = baseStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (control->Ctl3D) {
        style &= ~WS_BORDER;
        control->ExStyle |= WS_EX_CLIENTEDGE;
    }
    control->Style = style;

    // Without a parent the control's own defaults (margin 2, no insets) place it.
    const TWidget* place = parent ? parent : control;
    int m = place->Margin;
    control->BoundsRect.left = m + place->ClientInsetLeft;
    control->BoundsRect.top = m + place->ClientInsetTop;
    control->BoundsRect.right = m + 64;
    control->BoundsRect.bottom = control->BoundsRect.top + 64;

    // The first tab-stop control of a form holds the form's focus until something
    // else takes it.
    if (style & WS_TABSTOP) {
        control->TabStop = true;
        TWidget* form = parent ? parent->ParentForm() : nullptr;
        if (form && !form->FocusedControl)
            form->FocusedControl = control;
    }

    control->MenuOrId = ControlIdCounter++;
    control->AttachHandler(ControlMessageHandler, false);
    return control;
}

//--- The kinds

TWidget* NewForm(TWidget* parent, const TText& caption)
{
    TWidget* form = CreateWidget(parent, "Form", true);
    form->ClassStyle |= CS_DBLCLKS;
    form->AttachHandler(FormFocusHandler, false);
    form->AttachHandler(EraseBackgroundHandler, false);
    form->SetText(caption);
    return form;
}

TWidget* NewButton(TWidget* parent, const TText& caption)
{
    TWidget* button = CreateControl(parent, "BUTTON",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_PUSHLIKE | BS_PUSHBUTTON,
        ButtonActions, false);
    button->BoundsRect.bottom = button->BoundsRect.top + 22;
    button->SetText(caption);
    button->AttachHandler(DoubleClickAsClick, false);
    return button;
}

// A check box is a button with its whole style replaced, so it has neither
// WS_CLIPSIBLINGS nor WS_CLIPCHILDREN.
TWidget* NewCheckBox(TWidget* parent, const TText& caption)
{
    TWidget* box = NewButton(parent, caption);
    box->BoundsRect.right = box->BoundsRect.left + 72;
    box->Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_AUTOCHECKBOX;
    return box;
}

TWidget* NewLabel(TWidget* parent, const TText& caption)
{
    TWidget* label = CreateControl(parent, "STATIC",
        WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP,
        LabelActions, false);
    label->IsLabel = true;
    label->BoundsRect.bottom = label->BoundsRect.top + 22;
    label->SetText(caption);
    return label;
}

TWidget* NewGroupBox(TWidget* parent, const TText& caption)
{
    TWidget* group = CreateControl(parent, "BUTTON",
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX,
        ButtonActions, false);
    group->ExStyle |= WS_EX_CONTROLPARENT;
    group->BoundsRect.right = group->BoundsRect.left + 100;
    group->BoundsRect.bottom = group->BoundsRect.top + 100;
    // Children start below the caption line.
    group->ClientInsetTop = 22;
    group->ClientInsetBottom += 2;
    group->ClientInsetLeft += 2;
    group->ClientInsetRight += 2;
    group->TabStop = false;
    group->SetText(caption);
    group->AttachHandler(EraseBackgroundHandler, false);
    return group;
}

TWidget* NewEditBox(TWidget* parent, uint16_t options)
{
    DWORD style = FlagsOf(options, EditFlags);
    if (!(options & EditMultiLine))
        style &= ~(WS_HSCROLL | WS_VSCROLL);
    style |= WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
    TWidget* edit = CreateControl(parent, "EDIT", style, EditActions, true);
    RECT& r = edit->BoundsRect;
    r.right = r.left + 100;
    r.bottom = r.top + 22;
    if (options & EditMultiLine) {
        r.right += 100;
        r.bottom += 178;
    }
    return edit;
}

TWidget* NewListBox(TWidget* parent, uint16_t options)
{
    DWORD style = FlagsOf(options, ListFlags)
        | WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;
    TWidget* list = CreateControl(parent, "LISTBOX", style, ListActions, true);
    list->BoundsRect.right += 100;
    list->BoundsRect.bottom += 136;
    list->Color = clWindow;
    return list;
}

TWidget* NewComboBox(TWidget* parent, uint16_t options)
{
    DWORD style = FlagsOf(options, ComboFlags)
        | WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS;
    // Bit 0 is set in both CBS_SIMPLE and CBS_DROPDOWNLIST; without either the
    // combo box is an editable drop-down.
    if (!(style & CBS_SIMPLE))
        style |= CBS_DROPDOWN;
    TWidget* combo = CreateControl(parent, "COMBOBOX", style, ComboActions, true);
    combo->AfterCreateRoutine = SubclassComboParts;
    combo->DropDownRoutine = SizeDropDown;
    combo->ClassStyle |= CS_DBLCLKS;
    combo->BoundsRect.right += 36;
    combo->BoundsRect.bottom -= 42;
    combo->AttachHandler(ComboMessageHandler, false);
    return combo;
}

// Sizes the opening list for its items, one to eight of them. Hiding and showing
// without redraw keeps the resize from flickering.
void SizeDropDown(TWidget* combo)
{
    int n = combo->ItemCount();
    if (n < 1)
        n = 1;
    if (n > 8)
        n = 8;
    int h = combo->GetHeight();
    int w = combo->GetWidth();
    SetWindowPos(combo->Handle, nullptr, 0, 0, w, h * (n + 1) + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetWindowPos(combo->Handle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE
                     | SWP_SHOWWINDOW);
}
