// What a control does with the notifications its parent reflects back to it
// (ReflectedCommand, ReflectedColorRequest): the kind's codes in Actions pick the
// event to fire. Also the standard handlers of forms, buttons and combo boxes,
// and the procedure that routes a combo box's inner windows through its widget.
#include "wol/Notifications.h"

static const char PrevProcProperty[] = "PREV_PROC";

static void FireEvent(const TEventHandler& event, TWidget* sender)
{
    if (event.Routine)
        event.Routine(event.Context, sender);
}

void TWidget::FireClick()
{
    FireEvent(ClickEvent, this);
}

void TWidget::FireSelChange()
{
    FireEvent(SelChangeEvent.Routine ? SelChangeEvent : ChangeEvent, this);
}

static bool IsReflectedColorRequest(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX + ReflectedColorOffset
        && message <= WM_CTLCOLORSTATIC + ReflectedColorOffset;
}

// Answers a colour request with the widget's own colours.
static LRESULT AnswerColorRequest(TWidget* widget, HDC dc)
{
    SetTextColor(dc, ResolveColor(widget->TextColor));
    if (widget->Transparent) {
        SetBkMode(dc, TRANSPARENT);
        return (LRESULT)GetStockObject(NULL_BRUSH);
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ResolveColor(widget->Color));
    return (LRESULT)widget->GetBackBrush();
}

// Attached first to every control. The codes are compared in the order Click,
// Enter, Leave, Change, SelChange and the first match wins, so a button's 0 in the
// later columns never fires ChangeEvent.
bool ControlMessageHandler(TWidget* widget, TMessageRecord& record, LRESULT& result)
{
    if (IsReflectedColorRequest(record.Message)) {
        result = AnswerColorRequest(widget, (HDC)record.WParam);
        return true;
    }
    if (record.Message == ReflectedCommand) {
        const TActions& a = widget->Actions;
        WORD code = HIWORD(record.WParam);
        if (code == a.ClickCode) {
            // A click while the layer itself moves the focus is not the user's.
            if (widget->FocusChanging == 0) {
                widget->Focus(true);
                widget->FireClick();
            }
        } else if (code == a.EnterCode) {
            FireEvent(widget->EnterEvent, widget);
        } else if (code == a.LeaveCode) {
            FireEvent(widget->LeaveEvent, widget);
        } else if (code == a.ChangeCode) {
            FireEvent(widget->ChangeEvent, widget);
        } else if (code == a.SelChangeCode) {
            widget->FireSelChange();
        } else {
            return false;
        }
        result = widget->CallDefault(record);
        return true;
    }
    if (record.Message == WM_SETFOCUS) {
        result = 0;
        TWidget* form = widget->ParentForm();
        if (!form)
            return true;
        form->FocusedControl = widget;
        return false;
    }
    return false;
}

// The button's own procedure then sees a second press and reports a second click.
bool DoubleClickAsClick(TWidget*, TMessageRecord& record, LRESULT&)
{
    if (record.Message == WM_LBUTTONDBLCLK)
        record.Message = WM_LBUTTONDOWN;
    return false;
}

// Forms and group boxes paint their background with their own brush; default
// processing follows (a form's class has no brush, so it paints nothing more).
bool EraseBackgroundHandler(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    if (record.Message != WM_ERASEBKGND)
        return false;
    widget->CreateChildWindows();
    if (!widget->Transparent) {
        HDC dc = (HDC)record.WParam;
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ResolveColor(widget->Color));
        SetBrushOrgEx(dc, 0, 0, nullptr);
        RECT rect;
        GetClientRect(widget->Handle, &rect);
        FillRect(dc, &rect, widget->GetBackBrush());
    }
    return false;
}

// A form that gets the focus hands it on to the control that last had it.
bool FormFocusHandler(TWidget* form, TMessageRecord& record, LRESULT& result)
{
    if (record.Message != WM_SETFOCUS)
        return false;
    TWidget* focused = form->FocusedControl;
    if (focused && focused->CreateWindow())
        SetFocus(focused->Handle);
    if (MainWidget && MainWidget != form)
        MainWidget->FocusedControl = form;
    if (!focused)
        return false;
    result = 0;
    return true;
}

//--- Combo boxes

bool ComboMessageHandler(TWidget* combo, TMessageRecord& record, LRESULT& result)
{
    UINT message = record.Message;
    // Colour requests of the inner edit and list windows go to the combo itself,
    // so that its ControlMessageHandler answers them.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        result = combo->SendToWidget(message + ReflectedColorOffset, record.WParam, record.LParam);
        return true;
    }
    // The open list of a transparent combo box is still painted opaque.
    if (message == WM_CTLCOLORLISTBOX + ReflectedColorOffset && combo->Transparent) {
        HDC dc = (HDC)record.WParam;
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ResolveColor(combo->Color));
        result = (LRESULT)combo->GetBackBrush();
        return true;
    }
    if (message == ReflectedCommand) {
        switch (HIWORD(record.WParam)) {
        case CBN_SELCHANGE:
            // The event runs once the combo box has finished with the notification.
            PostMessageA(combo->Handle, ReflectedCommand, MAKEWPARAM(0, ComboSelChangeCode), 0);
            break;
        case CBN_DROPDOWN:
            combo->DroppedDown = true;
            combo->DropDownIndex = combo->GetCurIndex();
            if (combo->DropDownRoutine)
                combo->DropDownRoutine(combo);
            break;
        case CBN_CLOSEUP:
            combo->DroppedDown = false;
            FireEvent(combo->CloseUpEvent, combo);
            break;
        }
        return false;
    }
    if (message == WM_DESTROY)
        ReleaseComboParts(combo->Handle);
    return false;
}

// The inner windows keep their previous procedure in the "PREV_PROC" property
// until the combo box's WM_DESTROY.
void SubclassComboParts(TWidget* combo)
{
    for (HWND part = GetWindow(combo->Handle, GW_CHILD); part; part = GetWindow(part, GW_HWNDNEXT)) {
        LONG_PTR previous = SetWindowLongPtrA(part, GWLP_WNDPROC, (LONG_PTR)ComboPartWndProc);
        SetPropA(part, PrevProcProperty, (HANDLE)previous);
    }
}

void ReleaseComboParts(HWND comboWindow)
{
    for (HWND part = GetWindow(comboWindow, GW_CHILD); part; part = GetWindow(part, GW_HWNDNEXT)) {
        if (GetPropA(part, PrevProcProperty))
            RemovePropA(part, PrevProcProperty);
    }
}

// Calls an assigned message event; true when it handled the message.
static bool MessageEventHandles(TWidget* widget, TMessageRecord& record, LRESULT& result)
{
    const TMessageEventHandler& event = widget->MessageEvent;
    return event.Routine && event.Routine(event.Context, record, result);
}

// The procedure of a combo box's inner edit and list windows: the forms' message
// events see their messages as the combo box's, Tab moves the focus on from the
// combo box and its character is dropped, and Esc or Enter
// in an open list closes it (Esc restoring the selection it opened with).
LRESULT CALLBACK ComboPartWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND comboWindow = GetParent(window);
    TWidget* combo = comboWindow ? (TWidget*)GetWindowLongPtrA(comboWindow, GWLP_USERDATA) : nullptr;
    if (!combo)
        return DefWindowProcA(window, message, wParam, lParam);

    TMessageRecord record = {combo->Handle, message, wParam, lParam};
    LRESULT result = 0;
    TWidget* form = combo->ParentForm();
    if (MainWidget && MessageEventHandles(MainWidget, record, result))
        return result;
    if (form && form != MainWidget && MessageEventHandles(form, record, result))
        return result;

    if (message >= WM_KEYDOWN && message <= WM_CHAR) {
        result = 0;
        if (record.WParam == VK_TAB) {
            if (message != WM_KEYDOWN || TabKeyMovesFocus(combo, record))
                return 0;
        } else if (message == WM_CHAR && (record.WParam == VK_ESCAPE || record.WParam == VK_RETURN)
                   && SendMessageA(comboWindow, CB_GETDROPPEDSTATE, 0, 0)) {
            SendMessageA(comboWindow, CB_SHOWDROPDOWN, FALSE, 0);
            if (record.WParam == VK_ESCAPE)
                SendMessageA(comboWindow, CB_SETCURSEL, (WPARAM)combo->DropDownIndex, 0);
            return 0;
        }
    } else if (message == WM_SETFOCUS && form) {
        form->FocusedControl = combo;
    }

    WNDPROC previous = (WNDPROC)GetPropA(window, PrevProcProperty);
    if (!previous)
        return 0;
    return CallWindowProcA(previous, window, record.Message, record.WParam, record.LParam);
}
