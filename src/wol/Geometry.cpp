// Geometry and common properties of a widget. Every property is stored in the
// widget so that it can be set before the window exists; once the window exists a
// setter also passes the change on, and the bounds are read back from the window.
#include "wol/Widget.h"

//--- Bounds

// BoundsRect, refreshed from the live window: a control's in its parent's client
// coordinates, a form's in screen coordinates.
RECT TWidget::GetBoundsRect()
{
    RECT rect = BoundsRect;
    if (!Handle)
        return rect;
    RECT screen;
    if (!GetWindowRect(Handle, &screen))
        return rect;
    if (IsControl && Parent) {
        POINT origin = Parent->ClientToScreenPoint(POINT{0, 0});
        OffsetRect(&screen, -origin.x, -origin.y);
        BoundsRect = screen;
    } else if (!IsControl) {
        BoundsRect = screen;
    }
    return screen;
}

// A rectangle equal to the current one costs no window call.
void TWidget::SetBoundsRect(const RECT& rect)
{
    RECT current = GetBoundsRect();
    if (EqualRect(&current, &rect))
        return;
    if (rect.left != current.left)
        PositionSet |= 1;
    if (rect.top != current.top)
        PositionSet |= 2;
    BoundsRect = rect;
    if (Handle)
        SetWindowPos(Handle, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (IsLabel)
        Invalidate();
}

int TWidget::GetWidth()
{
    RECT rect = GetBoundsRect();
    return rect.right - rect.left;
}

int TWidget::GetHeight()
{
    RECT rect = GetBoundsRect();
    return rect.bottom - rect.top;
}

void TWidget::SetLeft(int x)
{
    RECT rect = GetBoundsRect();
    RECT moved = {x, rect.top, x + (rect.right - rect.left), rect.bottom};
    SetBoundsRect(moved);
}

void TWidget::SetTop(int y)
{
    RECT rect = GetBoundsRect();
    RECT moved = {rect.left, y, rect.right, y + (rect.bottom - rect.top)};
    SetBoundsRect(moved);
}

void TWidget::SetWidth(int w)
{
    RECT rect = GetBoundsRect();
    rect.right = rect.left + w;
    SetBoundsRect(rect);
}

void TWidget::SetHeight(int h)
{
    RECT rect = GetBoundsRect();
    rect.bottom = rect.top + h;
    SetBoundsRect(rect);
}

TWidget* TWidget::SetPosition(int x, int y)
{
    SetLeft(x);
    SetTop(y);
    return this;
}

// 0 keeps that dimension; anything else, negative included, sets it.
TWidget* TWidget::SetSize(int w, int h)
{
    RECT rect = GetBoundsRect();
    if (w != 0)
        rect.right = rect.left + w;
    if (h != 0)
        rect.bottom = rect.top + h;
    SetBoundsRect(rect);
    return this;
}

//--- Client area

// The usable client rectangle, less the insets. Makes the window (hidden) when it
// is missing; without a window, BoundsRect less the insets.
RECT TWidget::ClientArea()
{
    RECT rect = BoundsRect;
    if (GetHandle())
        GetClientRect(Handle, &rect);
    rect.top += ClientInsetTop;
    rect.bottom -= ClientInsetBottom;
    rect.left += ClientInsetLeft;
    rect.right -= ClientInsetRight;
    return rect;
}

int TWidget::ClientWidth()
{
    RECT rect = ClientArea();
    return rect.right - rect.left;
}

int TWidget::ClientHeight()
{
    RECT rect = ClientArea();
    return rect.bottom - rect.top;
}

// The client width is read first: it makes the window, so that the outer width is
// then that of the live window.
void TWidget::SetClientWidth(int w)
{
    int client = ClientWidth();
    SetWidth(w + GetWidth() - client);
}

void TWidget::SetClientHeight(int h)
{
    int client = ClientHeight();
    SetHeight(h + GetHeight() - client);
}

TWidget* TWidget::SetClientSize(int w, int h)
{
    if (w > 0)
        SetClientWidth(w);
    if (h > 0)
        SetClientHeight(h);
    return this;
}

POINT TWidget::ClientToScreenPoint(POINT point)
{
    if (Handle)
        ClientToScreen(Handle, &point);
    return point;
}

void TWidget::Invalidate()
{
    if (Handle)
        InvalidateRect(Handle, nullptr, TRUE);
}

//--- State and text

bool TWidget::IsEnabled()
{
    if (Handle)
        return IsWindowEnabled(Handle) != 0;
    return !(Style & WS_DISABLED);
}

void TWidget::SetEnabled(bool value)
{
    if (IsEnabled() == value)
        return;
    if (value)
        Style &= ~WS_DISABLED;
    else
        Style |= WS_DISABLED;
    if (Handle)
        EnableWindow(Handle, value);
    Invalidate();
}

// A widget hidden here after its window was made is not shown by the next
// CreateWindow.
void TWidget::SetVisibleState(bool value)
{
    if (value)
        Style |= WS_VISIBLE;
    else
        Style &= ~WS_VISIBLE;
    if (!Handle)
        return;
    ShowWindow(Handle, value ? SW_SHOW : SW_HIDE);
    if (!value)
        ShowPending = false;
}

// Never makes the window: a widget without one gets its text at creation.
void TWidget::SetText(const TText& text)
{
    Caption = text;
    if (Handle)
        SendMessageA(Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Caption.CStr()));
    if (IsLabel)
        Invalidate();
}

// 0 normal, 1 minimised, 2 maximised; none of them activates the window but
// maximising. WM_SIZE keeps WindowState in step with the user's changes, so after a
// restore by the user a new minimise goes through. Other values change nothing.
void TWidget::SetWindowState(int state)
{
    static const int commands[3] = {SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
    if (state < 0 || state > 2 || WindowState == state)
        return;
    WindowState = static_cast<uint8_t>(state);
    ShowWindow(GetHandle(), commands[state]);
}

// The form's icon: the main form loads "MAINICON" (again on every call while the
// program has none); any other form takes a copy of the main form's.
HICON TWidget::GetIcon()
{
    if (Icon == NoIcon)
        return nullptr;
    if (Icon)
        return Icon;
    if (MainWidget && MainWidget != this) {
        HICON mainIcon = MainWidget->GetIcon();
        if (!mainIcon)
            return nullptr;
        Icon = static_cast<HICON>(CopyImage(mainIcon, IMAGE_ICON, 0, 0, 0));
        return Icon;
    }
    Icon = LoadIconA(ModuleInstance, "MAINICON");
    return Icon;
}

//--- Parent and destruction

// The parent owns its children: leaving a parent takes the widget back from its
// owned objects, joining one hands the widget to it.
void TWidget::ChangeParent(TWidget* newParent)
{
    if (newParent == Parent)
        return;
    if (Parent) {
        Parent->Children->Remove(reinterpret_cast<TPtrValue>(this));
        Parent->RemoveOwned(this);
    }
    Parent = newParent;
    if (!newParent)
        return;
    newParent->Children->Add(reinterpret_cast<TPtrValue>(this));
    newParent->AddOwned(this);
    if (Handle)
        SetParent(Handle, newParent->GetHandle());
    Invalidate();
}

// Run by the Release that takes RefCount below zero. The teardown order matters:
//   1. the form forgets this widget as its FocusedControl;
//   2. the window is hidden, so that nobody watches it being emptied;
//   3. the owned objects go, in the order they were added: the child widgets (each
//      torn down the same way, so every control's window goes before this one),
//      fonts, menus, dialogs;
//   4. the rest runs once only (Destroying);
//   5. the icon is destroyed; the window is cut loose first (GWLP_USERDATA := 0, so
//      no later message finds this object, WM_DESTROY and WM_NCDESTROY included)
//      and then destroyed, unless Windows already destroyed it;
//   6. the background brush is deleted;
//   7. the parent forgets the widget: its FocusedControl, Children, owned objects;
//   8. the handler and child lists and the text are released;
//   9. the base destroy frees the instance, after the process-wide references to
//      it (main form, widget being made) have been emptied.
void TWidget::Destroy()
{
    TWidget* form = ParentForm();
    if (form && form->FocusedControl == this)
        form->FocusedControl = nullptr;

    if (Handle && IsWindow(Handle))
        ShowWindow(Handle, SW_HIDE);

    ReleaseOwned();

    if (Destroying)
        return;
    Destroying = true;

    if (Handle) {
        if (Icon && Icon != NoIcon)
            DestroyIcon(Icon);
        if (IsWindow(Handle)) {
            SetWindowLongPtrA(Handle, GWLP_USERDATA, 0);
            DestroyWindow(Handle);
        }
        Handle = nullptr;
    }

    HBRUSH brush = BackBrush;
    BackBrush = nullptr;
    if (brush)
        DeleteObject(brush);

    if (Parent) {
        if (Parent->FocusedControl == this)
            Parent->FocusedControl = nullptr;
        if (Parent->Children)
            Parent->Children->Remove(reinterpret_cast<TPtrValue>(this));
        Parent->RemoveOwned(this);
    }

    FreeAndClear(Handlers);
    FreeAndClear(Children);
    Caption.Clear();

    if (MainWidget == this)
        MainWidget = nullptr;
    if (CreationWidget == this)
        CreationWidget = nullptr;
    TRefObject::Destroy();
}
