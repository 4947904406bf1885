// Keyboard navigation: Tab and Shift+Tab move the focus through the form's tab
// stops, the controls made with WS_TABSTOP that are visible and enabled. Window
// order is the order of the widget tree, each parent before its children and
// siblings in the order they were made, so the focus enters and leaves group boxes
// on its way; it wraps at both ends.
#include "wol/Widget.h"

namespace {

bool IsTabStop(TWidget* widget)
{
    HWND window = widget->Handle;
    return widget->TabStop && window && IsWindowVisible(window) && IsWindowEnabled(window);
}

// The tab stops next to From, found in one walk of the tree; From itself may be no
// tab stop (a hidden control that holds the focus, or the form).
struct TTabWalk {
    TWidget* From;
    bool PassedFrom;
    TWidget* First;
    TWidget* Last;
    TWidget* Before;   // the last tab stop before From
    TWidget* After;    // the first tab stop after From
};

void Walk(TWidget* parent, TTabWalk& walk)
{
    for (int i = 0; i < parent->Children->Count; ++i) {
        TWidget* child = reinterpret_cast<TWidget*>(parent->Children->ItemAt(i));
        if (child == walk.From) {
            walk.PassedFrom = true;
        } else if (IsTabStop(child)) {
            if (!walk.First)
                walk.First = child;
            walk.Last = child;
            if (!walk.PassedFrom)
                walk.Before = child;
            else if (!walk.After)
                walk.After = child;
        }
        Walk(child, walk);
    }
}

}

bool TabKeyMovesFocus(TWidget* widget, const TMessageRecord& record)
{
    if (record.Message != WM_KEYDOWN || record.WParam != VK_TAB || IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU))
        return false;
    TWidget* form = widget->ParentForm();
    if (!form)
        return false;
    TTabWalk walk = {widget, false, nullptr, nullptr, nullptr, nullptr};
    Walk(form, walk);
    TWidget* target = IsKeyDown(VK_SHIFT) ? (walk.Before ? walk.Before : walk.Last)
                                          : (walk.After ? walk.After : walk.First);
    if (!target)
        return true;
    // Straight from control to control, never through no focus; the control's
    // WM_SETFOCUS makes it the form's FocusedControl.
    SetFocus(target->Handle);
    // As in a dialog box: an edit box reached by Tab has its whole text selected,
    // so that typing replaces it.
    if (SendMessageA(target->Handle, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(target->Handle, EM_SETSEL, 0, -1);
    return true;
}
