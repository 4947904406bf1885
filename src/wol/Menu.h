// Menus built from text templates: "(" opens a submenu, ")" closes it, "-" is a
// separator, "-"/"+" prefixes make check items, "!"/"!!" radio groups.
#pragma once

#include "runtime/Text.h"
#include "wol/PtrList.h"
#include "wol/Widget.h"

#include <windows.h>

#include <cstdint>

class TMenu;

// The next command identifier; items take 4096, 4097, ... across all menus.
extern UINT NextMenuId;

// Called with the handler's context, the root menu and the chosen item's index.
struct TMenuHandler {
    void (*Routine)(void* context, TMenu* root, int itemIndex);
    void* Context;
};

class TMenu : public TRefObject {
public:
    void Destroy() override;   // DestroyMenuNode

    HMENU MenuHandle;          // owned
    UINT Id;
    TWidget* Window;           // root only
    TMenu* Next;               // root only; owned: the next menu of the same window
    TMenuHandler Handler;
    UINT StateCache;
    TMenu* ParentItem;
    TPtrList* SubItems;        // owned, with its items
    int RadioGroup;
    bool AutoCheck;
    TText Text;
};

// Template texts 0 .. lastIndex; an empty text ends the template early.
TMenu* NewMenu(TWidget* parent, const char* const* texts, int lastIndex, TMenuHandler handler);
void SetItemHandlers(TMenu* root, int firstIndex, const TMenuHandler* handlers, int lastIndex);
// Keys below 4096 are item indices (depth-first, root -1); larger keys are command ids.
TMenu* FindItem(TMenu* root, int key);
int MenuItemIndex(TMenu* root, TMenu* item);
bool MenuCommand(TWidget* widget, TMessageRecord& record, LRESULT& result);
bool GetItemState(TMenu* item, UINT mask);
void SetItemState(TMenu* item, UINT mask, bool flag);
void RadioCheck(TMenu* item);
void SetWindowMenu(TWidget* widget, HMENU handle);
// The MENUITEMINFOA size to hand over for a GetVersion result: the record without
// hbmpItem for Win32s, Windows 95 and NT 4 (44 bytes in the 32-bit build), the
// whole record (48) for later versions.
UINT MenuItemInfoSize(DWORD version);
