// Window creation and message dispatch: the whole path of a message, top-down.
//
//   OS
//   -> SharedWndProc        finds the widget of the window (FindWidget: CreationWidget
//                           for a new window's first message, then GWLP_USERDATA) and
//                           keeps it alive for the call; a window without a widget
//                           goes to OrphanMessage
//   -> MainFormMessageEvent the main form's MessageEvent sees every widget's message
//                           first, while RunActive
//   -> OwnMessageEvent      the widget's own MessageEvent
//   -> WalkHandlers         the handler chain, last attached first
//   -> OwnProcessing        the widget's own processing in WndProc: close, destroy,
//                           size, focus, reflection of children's notifications, Tab
//                           (which moves the focus, TabOrder.cpp)
//   -> CallDefault          the system class's procedure, or DefWindowProcA
//
// Each stop that answers "handled" ends the path with the result it set. After the
// stops come the widget's set-up (Init, InitWithParent, NewWidget) and the making of
// windows (GetHandle, CreateWindow and the class registration behind it).
#include "wol/Widget.h"

//--- Process-wide state

HINSTANCE ModuleInstance = GetModuleHandleA(nullptr);   // the program's own module
TWidget* CreationWidget = nullptr;    // not owned; only while CreateWindowExA runs
TWidget* MainWidget = nullptr;        // not owned; the run loop frees it
bool RunActive = false;
bool Terminating = false;

namespace {

TWidget* WidgetOf(HWND window)
{
    return reinterpret_cast<TWidget*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

//--- Stop 1: SharedWndProc and the window-to-widget lookup

// The widget of a window. The first message of a window being made belongs to
// CreationWidget, which is bound to the window here; a window that already holds a
// widget is never taken over, even while some other window is being made.
TWidget* FindWidget(HWND window)
{
    if (!window)
        return nullptr;
    if (CreationWidget && !WidgetOf(window)) {
        TWidget* widget = CreationWidget;
        CreationWidget = nullptr;
        widget->Handle = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(widget));
        return widget;
    }
    return WidgetOf(window);
}

// A message for a window of the layer's classes whose widget is gone. The main form
// processes it (its default processing is DefWindowProcA on the record's window),
// unless it has no window of its own, which it would otherwise adopt.
LRESULT OrphanMessage(TMessageRecord& record)
{
    if (MainWidget && MainWidget->Handle)
        return MainWidget->WndProc(record);
    return DefWindowProcA(record.Window, record.Message, record.WParam, record.LParam);
}

// Runs the widget's WndProc with a reference held, so that a widget freed inside
// its own message survives until its outermost message call has returned. When that
// call returns after WM_DESTROY and nobody else holds the widget, the widget whose
// window is gone is freed (the main form excepted: the run loop frees it).
LRESULT DeliverToWidget(TWidget* widget, TMessageRecord& record)
{
    // Once destruction has begun (RefCount below zero) nothing is held: releasing
    // that hold would start the destruction a second time.
    bool hold = widget->RefCount >= 0;
    if (hold)
        widget->AddRef();
    ++widget->MessageDepth;
    LRESULT result = widget->WndProc(record);
    --widget->MessageDepth;
    if (!hold)
        return result;
    bool windowGone = widget->RefCount == 2 && widget->MessageDepth <= 0
                      && widget->WindowDestroyed && widget != MainWidget;
    widget->Release();   // destroys a widget that was freed during the call
    if (windowGone)
        Free(widget);
    return result;
}

}

LRESULT CALLBACK SharedWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TMessageRecord record = {window, message, wParam, lParam};
    TWidget* widget = FindWidget(window);
    if (!widget)
        return OrphanMessage(record);
    return DeliverToWidget(widget, record);
}

namespace {

//--- Stop 2: the main form's MessageEvent, while the run loop is active

bool MainFormMessageEvent(TWidget* widget, TMessageRecord& record, LRESULT& result)
{
    if (!RunActive || !MainWidget || MainWidget == widget || !MainWidget->MessageEvent.Routine)
        return false;
    return MainWidget->MessageEvent.Routine(MainWidget->MessageEvent.Context, record, result);
}

//--- Stop 3: the widget's own MessageEvent

bool OwnMessageEvent(TWidget* widget, TMessageRecord& record, LRESULT& result)
{
    if (!widget->MessageEvent.Routine)
        return false;
    return widget->MessageEvent.Routine(widget->MessageEvent.Context, record, result);
}

//--- Stop 4: the handler chain

// Handlers holds pairs (routine, run-while-terminating flag); the pair attached last
// runs first and the first routine that answers handled ends the walk. The widget is
// held across the walk so that a handler may free it.
bool WalkHandlers(TWidget* widget, TMessageRecord& record, LRESULT& result)
{
    if (widget->RefCount < 0)
        return false;
    TPtrList* handlers = widget->Handlers;
    if (!handlers || handlers->Count == 0)
        return false;
    widget->AddRef();
    bool handled = false;
    for (int i = handlers->Count - 2; i >= 0 && !handled; i -= 2) {
        if (Terminating && !handlers->ItemAt(i + 1))
            continue;
        auto routine = reinterpret_cast<TMessageHandler>(handlers->ItemAt(i));
        if (routine)
            handled = routine(widget, record, result);
    }
    widget->Release();
    return handled;
}

}

void TWidget::AttachHandler(TMessageHandler routine, bool runWhileTerminating)
{
    Dispatch = WalkHandlers;
    TPtrValue entry = reinterpret_cast<TPtrValue>(routine);
    if (Handlers->IndexOf(entry) >= 0)
        return;
    Handlers->Add(entry);
    Handlers->Add(runWhileTerminating ? 1 : 0);
}

//--- Stop 5: the widget's own processing

namespace {

LRESULT OwnProcessing(TWidget* widget, TMessageRecord& record);

}

// Stops 2 to 5 in order; each stop that answers handled returns its result.
LRESULT TWidget::WndProc(TMessageRecord& record)
{
    LRESULT result = 0;
    if (record.Window && !Handle)
        Handle = record.Window;
    if (MainFormMessageEvent(this, record, result))
        return result;
    if (OwnMessageEvent(this, record, result))
        return result;
    if (Dispatch && Dispatch(this, record, result))
        return result;
    return OwnProcessing(this, record);
}

bool IsKeyDown(int key)
{
    return GetKeyState(key) < 0;
}

namespace {

LRESULT OwnProcessing(TWidget* widget, TMessageRecord& record)
{
    switch (record.Message) {
    case WM_CLOSE:
        // Only the main form ends the program; default processing destroys the window.
        if (widget->IsMainForm())
            PostQuitMessage(0);
        return widget->CallDefault(record);

    case WM_DESTROY:
        // SharedWndProc frees the widget once its outermost message call returns.
        widget->WindowDestroyed = 1;
        return widget->CallDefault(record);

    case WM_NCDESTROY:
        return 0;

    case WM_SIZE: {
        LRESULT result = widget->CallDefault(record);
        widget->WindowState = static_cast<uint8_t>(record.WParam & 0xFF);
        return result;
    }

    case WM_SETFOCUS: {
        if (!widget->AcceptFocus())
            return 0;
        ++widget->FocusChanging;
        LRESULT result = widget->CallDefault(record);
        --widget->FocusChanging;
        return result;
    }

    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // A child's colour request goes back to the child, which answers for itself.
        if (record.LParam)
            return SendMessageA(reinterpret_cast<HWND>(record.LParam),
                                record.Message + ReflectedColorOffset, record.WParam, record.LParam);
        return widget->CallDefault(record);

    case WM_COMMAND: {
        // A notification from a widget's window goes back to it as ReflectedCommand;
        // menus and accelerators (lParam 0) go to default processing.
        HWND from = reinterpret_cast<HWND>(record.LParam);
        if (from && WidgetOf(from))
            return SendMessageA(from, ReflectedCommand, record.WParam, record.LParam);
        return widget->CallDefault(record);
    }

    default:
        break;
    }

    if (record.Message >= WM_KEYFIRST && record.Message <= WM_KEYLAST) {
        // Without Ctrl or Alt, the Tab key moves the focus to the next control and
        // its character never reaches the control.
        if (IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU))
            return widget->CallDefault(record);
        if (TabKeyMovesFocus(widget, record))
            return 0;
        if (record.Message == WM_CHAR && record.WParam == '\t') {
            record.WParam = 0;
            return 0;
        }
    }
    return widget->CallDefault(record);
}

}

//--- Stop 6: default processing

// The record's values count, since a handler may have changed them.
LRESULT TWidget::CallDefault(TMessageRecord& record)
{
    if (BaseWndProc)
        return CallWindowProcA(BaseWndProc, Handle, record.Message, record.WParam, record.LParam);
    return DefWindowProcA(record.Window, record.Message, record.WParam, record.LParam);
}

// Focus is taken by an enabled widget, or by a tab stop. The SetFocus runs with
// FocusChanging raised so that it fires no click event.
bool TWidget::AcceptFocus()
{
    bool accepts = IsEnabled() || (TabStop && (Style & WS_TABSTOP));
    if (!accepts)
        return false;
    ++FocusChanging;
    SetFocus(Handle);
    --FocusChanging;
    return true;
}

//--- Widget set-up

void TWidget::Init()
{
    Color = clBtnFace;
    TextColor = 8;   // the RGB value (8, 0, 0), not COLOR_WINDOWTEXT
    Margin = 2;
    Ctl3DChildren = 1;
    Ctl3D = 1;
    ClassStyle = CS_OWNDC;
    Style = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
    ExStyle = WS_EX_CONTROLPARENT;
    Handlers = NewPtrList();
    Children = NewPtrList();
}

void TWidget::InitWithParent(TWidget* parent)
{
    Init();
    if (parent) {
        Color = parent->Color;
        ChangeParent(parent);
    }
}

// The widget is owned by its parent (when given), which releases it.
TWidget* NewWidget(TWidget* parent)
{
    TWidget* widget = new TWidget();
    widget->InitWithParent(parent);
    return widget;
}

TWidget* TWidget::ParentForm()
{
    for (TWidget* widget = this; widget; widget = widget->Parent)
        if (!widget->IsControl)
            return widget;
    return nullptr;
}

bool TWidget::IsMainForm()
{
    if (MainWidget)
        return this == MainWidget;
    return !IsControl;
}

//--- Making windows

// The window, made hidden when it is missing; the next CreateWindow shows it.
HWND TWidget::GetHandle()
{
    if (!Handle) {
        if (!VisibleSet)
            SetVisibleState(false);
        CreateWindow();
        if (!VisibleSet)
            ShowPending = true;
    }
    return Handle;
}

HWND TWidget::ParentHandle(bool create)
{
    if (!Parent)
        return nullptr;
    return create ? Parent->GetHandle() : Parent->Handle;
}

void TWidget::CreateChildWindows()
{
    for (int i = 0; Children && i < Children->Count; ++i) {
        TWidget* child = reinterpret_cast<TWidget*>(Children->ItemAt(i));
        if (child)
            child->CreateWindow();
    }
}

LRESULT TWidget::SendToWidget(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(GetHandle(), message, wParam, lParam);
}

void TWidget::ApplyFont()
{
    if (!Font || !Handle)
        return;
    TextColor = Font->Data.Color;
    SendToWidget(WM_SETFONT, reinterpret_cast<WPARAM>(ToolHandle(Font)), 0xFFFF);
}

namespace {

// Superclass registration: "obj_" + ClassName, registered once per run with the
// system class's settings (less the device-context and global bits) and
// SharedWndProc as its procedure. Also takes the system class's procedure as the
// widget's BaseWndProc. Answers false when the class cannot be registered, or when
// a child window has no parent window.
bool RegisterWidgetClass(TWidget* widget, HWND parentWindow, char (&className)[64])
{
    WNDCLASSA description = {};
    description.style = widget->ClassStyle;
    description.lpfnWndProc = widget->BaseWndProc;
    description.hInstance = ModuleInstance;
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);

    const char* base = widget->ClassName ? widget->ClassName : "";
    const char prefix[] = "obj_";
    int length = 0;
    for (const char* c = prefix; *c; ++c)
        className[length++] = *c;
    for (const char* c = base; *c && length < 63; ++c)
        className[length++] = *c;
    className[length] = 0;

    if (widget->ClassName) {
        WNDCLASSA system;
        if (GetClassInfoA(ModuleInstance, widget->ClassName, &system))
            description = system;
        description.hInstance = ModuleInstance;
        description.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
        if (!widget->BaseWndProc)
            widget->BaseWndProc = description.lpfnWndProc;
    }

    if (!parentWindow && (widget->Style & WS_CHILD))
        return false;

    WNDCLASSA registered;
    if (GetClassInfoA(ModuleInstance, className, &registered))
        return true;
    description.lpszClassName = className;
    description.lpfnWndProc = SharedWndProc;
    return RegisterClassA(&description) != 0;
}

// Steps 3 to 14 of CreateWindow for a widget without a window.
bool MakeWindow(TWidget* widget)
{
    HWND parentWindow = widget->ParentHandle(true);
    char className[64];
    if (!RegisterWidgetClass(widget, parentWindow, className))
        return false;

    const RECT& bounds = widget->BoundsRect;
    int x = bounds.left;
    int y = bounds.top;
    if (!widget->IsControl && !(widget->PositionSet & 3)) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    if (width == 0)
        width = CW_USEDEFAULT;
    if (height == 0)
        height = CW_USEDEFAULT;

    // The new window's first message binds it to the widget (FindWidget).
    CreationWidget = widget;
    HWND window = CreateWindowExA(widget->ExStyle, className,
                                  widget->Caption.IsEmpty() ? nullptr : widget->Caption.CStr(),
                                  widget->Style, x, y, width, height, parentWindow,
                                  reinterpret_cast<HMENU>(widget->MenuOrId), ModuleInstance, nullptr);
    if (!window) {
        // Nothing of the failed window may stay: not the pending binding (the next
        // unrelated window would be taken for this widget), not the handle that its
        // first message may have set, nor the WM_DESTROY mark of its teardown.
        CreationWidget = nullptr;
        widget->Handle = nullptr;
        widget->WindowDestroyed = 0;
        return false;
    }
    widget->Handle = window;

    SendMessageA(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    // A window that no message reached during its creation is bound here.
    CreationWidget = nullptr;
    if (!WidgetOf(window))
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(widget));

    if (!widget->IsControl)
        widget->SendToWidget(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(widget->GetIcon()));
    if (widget->AfterCreateRoutine)
        widget->AfterCreateRoutine(widget);
    widget->ApplyFont();
    return true;
}

}

// Makes the window when it is missing, then the children's windows, depth first in
// creation order; on a widget that has its window, makes the missing child windows
// and carries out a pending show, children first. Answers false when the window
// could not be made.
bool TWidget::CreateWindow()
{
    if (Parent && !Parent->GetHandle())
        return false;
    if (Handle) {
        CreateChildWindows();
        if (ShowPending) {
            SetVisibleState(true);
            ShowPending = false;
        }
        return true;
    }
    // Held while the window is made: the teardown messages of a window whose
    // creation fails must not free the widget under this call.
    AddRef();
    bool made = MakeWindow(this);
    if (made)
        CreateChildWindows();
    Release();
    return made;
}
