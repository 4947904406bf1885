// TWidget: one window object of the layer, the main window (a form) or a control.
// The object exists before its window; the window is made on first need, hidden,
// and the run loop shows it. Every message of the window runs through
// SharedWndProc (see Dispatch.cpp for the whole path).
#pragma once

#include "runtime/Text.h"
#include "wol/GdiTool.h"
#include "wol/PtrList.h"
#include "wol/RefObject.h"

#include <windows.h>

#include <cstdint>

// The layer's own operations share names with the ANSI/wide macros of windows.h.
#undef CreateWindow
#undef MessageBox

class TWidget;
class TMenu;

// An event slot: routine plus the context passed to it; assigned when Routine is set.
struct TEventHandler {
    void (*Routine)(void* context, TWidget* sender);
    void* Context;
};

// One message as handlers and WndProc see it; the result travels separately.
struct TMessageRecord {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

// A message handler of the chain: answers true when it handled the message.
typedef bool (*TMessageHandler)(TWidget* widget, TMessageRecord& record, LRESULT& result);

// Called with every message before the handler chain.
struct TMessageEventHandler {
    bool (*Routine)(void* context, TMessageRecord& record, LRESULT& result);
    void* Context;
};

// Notification codes and item messages of a control kind; 0 means none.
struct TActions {
    void (*ClearRoutine)(TWidget* widget);
    void (*AddRoutine)(TWidget* widget, const TText& text);
    uint16_t ClickCode;
    uint16_t EnterCode;
    uint16_t LeaveCode;
    uint16_t ChangeCode;
    uint16_t SelChangeCode;
    uint16_t CountMsg;
    uint16_t TextLengthMsg;
    uint16_t GetTextMsg;
    uint16_t ReplaceSelMsg;
    uint16_t GetDataMsg;
    uint16_t SetDataMsg;
    uint16_t AddMsg;
    uint16_t DeleteMsg;
    uint16_t InsertMsg;
    uint8_t LineIndexMsg;
    uint8_t LineFromCharMsg;
    uint16_t GetSelMsg;
    uint16_t CurIndexMsg;
    uint16_t SetSelMsg;
    uint16_t SetCurIndexMsg;
    uint16_t SetSelRangeMsg;
};

// Reflected notifications: a parent sends its children's commands and colour
// requests back to the child's own window under these numbers.
const UINT ReflectedCommand = 0xB005;
const UINT ReflectedColorOffset = 0xBC00;   // + WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC

// Icon value meaning "this form has no icon".
#define NoIcon ((HICON)(LONG_PTR)-1)

class TWidget : public TRefObject {
public:
    // Virtual operations, in slot order.
    void Init() override;                               // slot 0: widget defaults
    void Destroy() override;                            // slot 1: Geometry.cpp
    virtual void InitWithParent(TWidget* parent);       // slot 2
    virtual bool CreateWindow();                        // slot 3
    virtual LRESULT WndProc(TMessageRecord& record);    // slot 4

    //--- Window creation and dispatch (Dispatch.cpp)
    HWND GetHandle();
    HWND ParentHandle(bool create);
    void CreateChildWindows();
    LRESULT SendToWidget(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallDefault(TMessageRecord& record);
    void ApplyFont();
    void AttachHandler(TMessageHandler routine, bool runWhileTerminating);
    TWidget* ParentForm();
    bool IsMainForm();
    bool AcceptFocus();

    //--- Geometry and common properties (Geometry.cpp)
    RECT GetBoundsRect();
    void SetBoundsRect(const RECT& rect);
    int GetWidth();
    int GetHeight();
    void SetLeft(int x);
    void SetTop(int y);
    void SetWidth(int w);
    void SetHeight(int h);
    TWidget* SetPosition(int x, int y);
    TWidget* SetSize(int w, int h);
    RECT ClientArea();
    int ClientWidth();
    int ClientHeight();
    void SetClientWidth(int w);
    void SetClientHeight(int h);
    TWidget* SetClientSize(int w, int h);
    POINT ClientToScreenPoint(POINT point);
    void Invalidate();
    bool IsEnabled();
    void SetEnabled(bool value);
    void SetVisibleState(bool value);
    void SetText(const TText& text);
    void SetWindowState(int state);
    HICON GetIcon();
    void ChangeParent(TWidget* newParent);

    //--- Items, checks, text, visibility, focus, click (Items.cpp)
    int ItemCount();
    int AddItem(const TText& text);
    int InsertItem(int index, const TText& text);
    void DeleteItem(int index);
    int ItemPos(int index);
    int PosItem(int position);
    TText GetItemText(int index);
    void SetItemText(int index, const TText& text);
    LRESULT GetItemData(int index);
    void SetItemData(int index, LPARAM value);
    int SelStart();
    void SetSelLength(int n);
    int GetCurIndex();
    void SetCurIndex(int index);
    void SetItemSelected(int index, bool flag);
    void SelectItem(int index) { SetItemSelected(index, true); }
    int GetChecked();
    void SetChecked(bool flag);
    void Click();
    const TText& GetText();
    void SetVisible(bool flag);
    void Focus(bool flag);

    //--- Events (Notifications.cpp)
    void FireClick();
    void FireSelChange();

    //--- Colours and fonts (WidgetColors.cpp)
    TGdiTool* GetFont();
    HBRUSH GetBackBrush();
    void SetColor(TColor value);
    void SetTextColor(TColor value);

    // Fields. References are "not owned" unless marked owned; children, fonts and
    // menus are owned through OwnedObjects.
    HWND Handle;
    DWORD ClassStyle;
    DWORD Style;
    DWORD ExStyle;
    HICON Icon;                 // owned; 0 = not fetched yet, NoIcon = none
    uint8_t WindowState;        // 0 normal, 1 minimised, 2 maximised
    WNDPROC BaseWndProc;        // the system class's procedure; 0 for a form
    TWidget* Parent;
    bool TabStop;
    TPtrList* Handlers;         // owned: pairs (routine, run-while-terminating flag)
    TPtrList* Children;         // owned list; the children themselves are owned objects
    HBRUSH BackBrush;           // owned
    COLORREF BackBrushColor;
    bool Destroying;
    uint8_t WindowDestroyed;
    int MessageDepth;
    UINT_PTR MenuOrId;          // a control's identifier, or a form's menu handle
    TMenu* Menu;                // owned through OwnedObjects
    bool IsControl;
    bool IsLabel;
    uint8_t PositionSet;        // bit 0 left changed, bit 1 top changed
    TEventHandler LeaveEvent;
    bool (*Dispatch)(TWidget* widget, TMessageRecord& record, LRESULT& result);
    const char* ClassName;
    uint8_t Ctl3DChildren;
    uint8_t Ctl3D;
    TColor TextColor;
    TColor Color;
    TGdiTool* Font;             // owned through OwnedObjects
    TGdiTool* Brush;            // owned through OwnedObjects
    int Margin;
    RECT BoundsRect;            // parent client coordinates; screen for a form
    int ClientInsetTop;
    int ClientInsetBottom;
    int ClientInsetLeft;
    int ClientInsetRight;
    bool Transparent;
    TMessageEventHandler MessageEvent;
    TEventHandler ClickEvent;
    TWidget* FocusedControl;
    bool VisibleSet;
    bool ShowPending;
    void (*DropDownRoutine)(TWidget* widget);
    bool DroppedDown;
    int DropDownIndex;
    uint8_t FocusChanging;
    int CurIndex;
    TEventHandler ChangeEvent;
    TEventHandler EnterEvent;
    TActions Actions;
    TEventHandler CloseUpEvent;
    TEventHandler SelChangeEvent;
    TText Caption;
    void (*AfterCreateRoutine)(TWidget* widget);
};

// Process-wide state of the layer.
extern HINSTANCE ModuleInstance;
extern TWidget* CreationWidget;   // valid only while CreateWindowExA runs
extern TWidget* MainWidget;
extern bool RunActive;
extern bool Terminating;

// The window procedure registered with every class of the layer.
LRESULT CALLBACK SharedWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// True while the key is held, as of the message being handled.
bool IsKeyDown(int key);

// For a Tab key-down without Ctrl or Alt: moves the focus from widget to the next
// tab stop of its form (with Shift, the previous one) and answers true (TabOrder.cpp).
bool TabKeyMovesFocus(TWidget* widget, const TMessageRecord& record);

// A zero-filled widget on which InitWithParent has run.
TWidget* NewWidget(TWidget* parent);

// Font and brush change notifications bound to a widget's tools (WidgetColors.cpp).
void FontChanged(void* widget, TGdiTool* tool);
void BrushChanged(void* widget, TGdiTool* tool);
