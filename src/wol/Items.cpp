// Item, check and focus operations, written once for every kind of control: the
// widget's Actions say which message carries each operation, and a message of 0
// means the kind does not support it. No operation here tests the kind.
#include "wol/Widget.h"

#include <cstring>

//--- Items

int TWidget::ItemCount()
{
    return Actions.CountMsg ? (int)SendToWidget(Actions.CountMsg, 0, 0) : 0;
}

// The first item added to a list or combo box becomes its current item.
int TWidget::AddItem(const TText& text)
{
    if (Actions.AddMsg) {
        int index = (int)SendToWidget(Actions.AddMsg, 0, (LPARAM)text.CStr());
        if (ItemCount() == 1)
            SetItemSelected(0, true);
        return index;
    }
    if (Actions.AddRoutine) {
        Actions.AddRoutine(this, text);
    } else {
        TText caption = Caption;
        caption += text;
        SetText(caption);
    }
    return 0;
}

int TWidget::InsertItem(int index, const TText& text)
{
    if (!Actions.InsertMsg)
        return -1;
    return (int)SendToWidget(Actions.InsertMsg, (WPARAM)index, (LPARAM)text.CStr());
}

void TWidget::DeleteItem(int index)
{
    if (Actions.DeleteMsg)
        SendToWidget(Actions.DeleteMsg, (WPARAM)index, 0);
}

// Item index to character position; the identity for kinds without lines.
int TWidget::ItemPos(int index)
{
    if (!Actions.LineIndexMsg)
        return index;
    int pos = (int)SendToWidget(Actions.LineIndexMsg, (WPARAM)index, 0);
    return pos < 0 ? 0 : pos;
}

int TWidget::PosItem(int position)
{
    if (!Actions.LineFromCharMsg)
        return position;
    int item = (int)SendToWidget(Actions.LineFromCharMsg, (WPARAM)position, 0);
    return item < 0 ? 0 : item;
}

// Empty for an index outside the list (the length query answers -1 there).
TText TWidget::GetItemText(int index)
{
    int pos = ItemPos(index);
    int item = PosItem(pos);
    if (!Actions.TextLengthMsg)
        return TText();
    int len = (int)SendToWidget(Actions.TextLengthMsg, (WPARAM)pos, 0);
    if (len <= 0)
        return TText();
    // EM_GETLINE reads the buffer size from the buffer's first word; a list or
    // combo box writes len characters and a NUL.
    TText buffer;
    buffer.Resize(len + 4);
    char* data = buffer.Data();
    int32_t size = len + 1;
    memcpy(data, &size, sizeof size);
    SendToWidget(Actions.GetTextMsg, (WPARAM)item, (LPARAM)data);
    data[len] = '\0';
    return TText(data);
}

// Lists and combo boxes: delete and insert, keeping the item's data and the
// current index. Edit boxes: replace the line together with its line break.
void TWidget::SetItemText(int index, const TText& text)
{
    if (Actions.ReplaceSelMsg) {
        int start = ItemPos(index);
        int next = ItemPos(index + 1);
        SelectItem(start);
        SetSelLength(next - start);
        SendToWidget(Actions.ReplaceSelMsg, 0, (LPARAM)text.CStr());
    } else if (Actions.DeleteMsg) {
        int cur = GetCurIndex();
        LRESULT data = GetItemData(index);
        DeleteItem(index);
        InsertItem(index, text);
        SetItemData(index, data);
        SetCurIndex(cur);
    }
}

LRESULT TWidget::GetItemData(int index)
{
    return Actions.GetDataMsg ? SendToWidget(Actions.GetDataMsg, (WPARAM)index, 0) : 0;
}

void TWidget::SetItemData(int index, LPARAM value)
{
    if (Actions.SetDataMsg)
        SendToWidget(Actions.SetDataMsg, (WPARAM)index, value);
}

//--- Selection

int TWidget::SelStart()
{
    if (!Actions.GetSelMsg)
        return 0;
    return (int16_t)LOWORD(SendToWidget(Actions.GetSelMsg, 0, 0));
}

void TWidget::SetSelLength(int n)
{
    int start = SelStart();
    if (Actions.SetSelRangeMsg)
        SendToWidget(Actions.SetSelRangeMsg, (WPARAM)start, (LPARAM)(start + n));
}

// A combo box answers CB_ERR (-1) when no item is current; an edit box the start
// of the caret's line.
int TWidget::GetCurIndex()
{
    if (!Actions.CurIndexMsg)
        return CurIndex;
    WPARAM wParam = Actions.CurIndexMsg == EM_LINEINDEX ? (WPARAM)-1 : 0;
    return (int)SendToWidget(Actions.CurIndexMsg, wParam, 0);
}

void TWidget::SetCurIndex(int index)
{
    if (Actions.SetCurIndexMsg)
        SendToWidget(Actions.SetCurIndexMsg, (WPARAM)index, 0);
    else
        SetItemSelected(index, true);
}

// The first message the kind has decides; CB_SETCURSEL ignores the flag, so a
// false flag also makes a combo item current.
void TWidget::SetItemSelected(int index, bool flag)
{
    if (Actions.SetSelMsg) {
        SendToWidget(Actions.SetSelMsg, flag ? 1 : 0, (LPARAM)index);
    } else if (Actions.SetCurIndexMsg) {
        SendToWidget(Actions.SetCurIndexMsg, (WPARAM)index, 0);
    } else if (Actions.SetSelRangeMsg) {
        SendToWidget(Actions.SetSelRangeMsg, (WPARAM)index, (LPARAM)index);
    } else {
        CurIndex = index;
        Invalidate();
    }
}

//--- Check state, click, text, visibility, focus

int TWidget::GetChecked()
{
    return (int)SendToWidget(BM_GETCHECK, 0, 0);
}

// Sets the mark only: no click notification follows.
void TWidget::SetChecked(bool flag)
{
    SendToWidget(BM_SETCHECK, flag ? BST_CHECKED : BST_UNCHECKED, 0);
}

// A programmatic click through the control's own notification path: the command
// is sent to the control's window, which reflects it to itself like one from
// Windows, so the click gives the focus and fires ClickEvent. Push buttons and
// check boxes (EnterCode BN_SETFOCUS) click with BN_CLICKED, which is 0.
void TWidget::Click()
{
    if (Actions.ClickCode || Actions.EnterCode == BN_SETFOCUS) {
        HWND window = GetHandle();
        SendToWidget(WM_COMMAND, MAKEWPARAM(MenuOrId, Actions.ClickCode), (LPARAM)window);
    } else {
        SendToWidget(WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendToWidget(WM_LBUTTONUP, MK_LBUTTON, 0);
    }
}

// Reads the live window text into Caption; without a window Caption as it is.
const TText& TWidget::GetText()
{
    if (!Handle)
        return Caption;
    int len = GetWindowTextLengthA(Handle);
    Caption.Resize(len);
    if (len > 0)
        Caption.Resize(GetWindowTextA(Handle, Caption.Data(), len + 1));
    return Caption;
}

// Explicit visibility: window creation no longer decides it.
void TWidget::SetVisible(bool flag)
{
    VisibleSet = true;
    SetVisibleState(flag);
}

void TWidget::Focus(bool flag)
{
    if (!flag || !TabStop)
        return;
    if (!IsControl) {
        SetForegroundWindow(GetHandle());
        return;
    }
    TWidget* form = ParentForm();
    if (form) {
        if (form->FocusedControl && form->FocusedControl != this)
            SetFocus(nullptr);
        form->FocusedControl = this;
    }
    SetFocus(GetHandle());
}
