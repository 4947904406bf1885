// Menus built from text templates. A TMenu tree mirrors the Windows menus: the
// root stands for a menu bar or pop-up menu, every other node for one item. The
// first menu of a window is owned by the window; later ones hang from it (Next).
#include "wol/Menu.h"

#include <cstddef>
#include <cstring>

// Keys at or above this value are command identifiers, below it item indices.
const int FirstMenuId = 4096;
// Shared by every menu of the program; identifiers are never reused.
UINT NextMenuId = FirstMenuId;

// A state mask with this bit asks (or sets) the opposite of its bits.
const UINT InvertedState = 0x80000000;

UINT MenuItemInfoSize(DWORD version)
{
    int major = version & 0xFF;
    int release = major * 256 + ((version >> 8) & 0xFF);
    // Win32s, Windows 95 and NT 4 know the record only without hbmpItem.
    bool old = (version & 0x80000000) ? release < 0x040A : major < 5;
    return old ? (UINT)offsetof(MENUITEMINFOA, hbmpItem) : (UINT)sizeof(MENUITEMINFOA);
}

// The Windows version is asked once per run.
static UINT ItemInfoSize()
{
    static UINT size;
    if (!size)
        size = MenuItemInfoSize(GetVersion());
    return size;
}

static TMenu* SubItem(TMenu* menu, int k)
{
    return (TMenu*)menu->SubItems->ItemAt(k);
}

// After a change to the items of a menu bar the bar is drawn anew; not while the
// program is ending.
static void RedrawMenuBar(TMenu* menu)
{
    if (!menu->ParentItem && menu->Window && menu->Window->Menu == menu && !Terminating)
        DrawMenuBar(menu->Window->Handle);
}

//--- Building

// Reads texts from index i into menu (Windows menu handle) up to its closing ")"
// or the template's end; gives back the index at which the caller goes on.
static int ReadTemplate(TMenu* menu, HMENU handle, const char* const* texts, int i, int lastIndex)
{
    TMenu* previous = nullptr;   // the item made before at this level
    while (i <= lastIndex) {
        const char* t = texts[i];
        if (!t || !*t)
            return i;
        if (strcmp(t, ")") == 0)
            return i + 1;

        TMenu* item = NewObject<TMenu>();
        item->ParentItem = menu;
        item->SubItems = NewPtrList();
        menu->SubItems->Add((TPtrValue)item);

        MENUITEMINFOA info = {};
        info.cbSize = ItemInfoSize();
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
        if (strcmp(t, "-") == 0) {
            info.fType = MFT_SEPARATOR;
            info.fState = MFS_GRAYED | MFS_DISABLED;
        } else {
            if (*t == '-' || *t == '+') {
                item->AutoCheck = true;
                info.dwItemData = 0x40000000;
                if (*t == '+')
                    info.fState |= MFS_CHECKED;
                ++t;
                // "!" joins the group of the item before; "!!" starts the next group.
                if (*t == '!') {
                    ++t;
                    info.fType |= MFT_RADIOCHECK;
                    info.dwItemData |= 0x80000000;
                    item->RadioGroup = previous && previous->RadioGroup ? previous->RadioGroup : 1;
                    if (*t == '!') {
                        ++t;
                        ++item->RadioGroup;
                    }
                }
            }
            item->Text = t;
        }

        item->Id = NextMenuId++;
        info.wID = item->Id;
        if (i != lastIndex && texts[i + 1] && strcmp(texts[i + 1], "(") == 0)
            item->MenuHandle = CreatePopupMenu();
        info.hSubMenu = item->MenuHandle;
        info.dwTypeData = item->Text.Data();
        info.cch = (UINT)item->Text.Length();
        InsertMenuItemA(handle, 0xFFFFFFFF, TRUE, &info);

        i = item->MenuHandle ? ReadTemplate(item, item->MenuHandle, texts, i + 2, lastIndex) : i + 1;
        previous = item;
    }
    return i;
}

// The first menu of a form becomes its menu bar; any other is a pop-up menu.
TMenu* NewMenu(TWidget* parent, const char* const* texts, int lastIndex, TMenuHandler handler)
{
    TMenu* root = NewObject<TMenu>();
    root->SubItems = NewPtrList();
    root->Handler = handler;
    if (lastIndex >= 0 && texts[0]) {
        bool menuBar = parent && !parent->IsControl && !parent->Menu;
        root->MenuHandle = menuBar ? CreateMenu() : CreatePopupMenu();
        ReadTemplate(root, root->MenuHandle, texts, 0, lastIndex);
    }
    if (!parent)
        return root;

    root->Window = parent;
    if (parent->Menu) {
        TMenu* last = parent->Menu;
        while (last->Next)
            last = last->Next;
        last->Next = root;
        return root;
    }
    if (!parent->IsControl)
        SetWindowMenu(parent, root->MenuHandle);
    parent->Menu = root;
    parent->AttachHandler(MenuCommand, false);
    parent->AddOwned(root);
    return root;
}

void SetItemHandlers(TMenu* root, int firstIndex, const TMenuHandler* handlers, int lastIndex)
{
    for (int k = 0; k <= lastIndex; ++k) {
        TMenu* item = FindItem(root, firstIndex + k);
        if (!item)
            return;
        item->Handler = handlers[k];
    }
}

//--- Lookup

// Walks the tree depth-first in pre-order, counting the item index in counter
// (the root is -1); gives the first node that match accepts, with counter at its
// index.
template <class Match>
static TMenu* WalkMenu(TMenu* node, int& counter, const Match& match)
{
    if (match(node, counter))
        return node;
    for (int k = 0; k < node->SubItems->Count; ++k) {
        ++counter;
        if (TMenu* found = WalkMenu(SubItem(node, k), counter, match))
            return found;
    }
    return nullptr;
}

TMenu* FindItem(TMenu* root, int key)
{
    int counter = -1;
    return WalkMenu(root, counter, [key](TMenu* node, int index) {
        return index == key || (key >= FirstMenuId && node->Id == (UINT)key);
    });
}

// -2 when the item is not in the tree.
int MenuItemIndex(TMenu* root, TMenu* item)
{
    int counter = -1;
    return WalkMenu(root, counter, [item](TMenu* node, int) { return node == item; }) ? counter : -2;
}

//--- Commands

// Takes a window's WM_COMMAND from a menu item or accelerator (lParam 0, code 0
// or 1) when one of the window's menus holds the item: keeps check marks and radio
// groups in step, then calls the item's handler, or the root's, with the index.
bool MenuCommand(TWidget* widget, TMessageRecord& record, LRESULT& result)
{
    if (record.Message != WM_COMMAND || record.LParam != 0 || HIWORD(record.WParam) > 1)
        return false;
    int key = LOWORD(record.WParam);
    for (TMenu* root = widget->Menu; root; root = root->Next) {
        TMenu* item = FindItem(root, key);
        if (!item)
            continue;
        result = 0;
        int index = MenuItemIndex(root, item);
        if (item->RadioGroup)
            RadioCheck(item);
        else if (item->AutoCheck)
            SetItemState(item, MFS_CHECKED, !GetItemState(item, MFS_CHECKED));
        const TMenuHandler& handler = item->Handler.Routine ? item->Handler : root->Handler;
        if (handler.Routine)
            handler.Routine(handler.Context, root, index);
        return true;
    }
    return false;
}

//--- Check state

// Refreshes StateCache from the item's Windows menu; info keeps the state read.
static void ReadItemState(TMenu* item, MENUITEMINFOA& info)
{
    info = {};
    info.cbSize = ItemInfoSize();
    info.fMask = MIIM_STATE;
    if (item->ParentItem && GetMenuItemInfoA(item->ParentItem->MenuHandle, item->Id, FALSE, &info))
        item->StateCache = info.fState;
}

bool GetItemState(TMenu* item, UINT mask)
{
    MENUITEMINFOA info;
    ReadItemState(item, info);
    bool set = (item->StateCache & mask & ~InvertedState) != 0;
    return (mask & InvertedState) ? !set : set;
}

void SetItemState(TMenu* item, UINT mask, bool flag)
{
    MENUITEMINFOA info;
    ReadItemState(item, info);
    if (mask & InvertedState)
        flag = !flag;
    mask &= ~InvertedState;
    if (flag)
        item->StateCache |= mask;
    else
        item->StateCache &= ~mask;
    if (!item->ParentItem)
        return;
    info.fState = item->StateCache;
    if (SetMenuItemInfoA(item->ParentItem->MenuHandle, item->Id, FALSE, &info))
        RedrawMenuBar(item->ParentItem);
}

// Checks the item and unchecks the other items of its run of adjacent siblings
// in the same radio group; an item alone is just checked.
void RadioCheck(TMenu* item)
{
    TMenu* parent = item->ParentItem;
    if (parent && item->RadioGroup) {
        int at = parent->SubItems->IndexOf((TPtrValue)item);
        int first = at;
        int last = at;
        while (first > 0 && SubItem(parent, first - 1)->RadioGroup == item->RadioGroup)
            --first;
        while (last + 1 < parent->SubItems->Count && SubItem(parent, last + 1)->RadioGroup == item->RadioGroup)
            ++last;
        if (last > first) {
            CheckMenuRadioItem(parent->MenuHandle, SubItem(parent, first)->Id, SubItem(parent, last)->Id,
                               item->Id, MF_BYCOMMAND);
            return;
        }
    }
    SetItemState(item, MFS_CHECKED, true);
}

//--- Window side and teardown

// A form keeps its menu-bar handle in MenuOrId; a window made later gets it at
// its creation.
void SetWindowMenu(TWidget* widget, HMENU handle)
{
    if (widget->MenuOrId == (UINT_PTR)handle)
        return;
    if (widget->MenuOrId)
        DestroyMenu((HMENU)widget->MenuOrId);
    widget->MenuOrId = (UINT_PTR)handle;
    if (widget->Handle)
        SetMenu(widget->Handle, handle);
}

// DestroyMenuNode. The order matters: the items go first (each takes itself out
// of this node's Windows menu and SubItems), then this node leaves its parent and
// its window, then its own Windows menu goes; the menus after it in the window's
// chain go with it.
void TMenu::Destroy()
{
    for (int k = SubItems ? SubItems->Count - 1 : -1; k >= 0; --k)
        Free(SubItem(this, k));

    if (ParentItem) {
        TMenu* parent = ParentItem;
        RemoveMenu(parent->MenuHandle, Id, MF_BYCOMMAND);
        RedrawMenuBar(parent);
        ParentItem = nullptr;
        parent->SubItems->Remove((TPtrValue)this);
    }

    if (Window) {
        if (MenuHandle && Window->MenuOrId == (UINT_PTR)MenuHandle) {
            if (!Window->Destroying)
                SetMenu(Window->Handle, nullptr);
            Window->MenuOrId = 0;
        }
        if (Window->Menu == this) {
            Window->Menu = nullptr;
        } else {
            // Leaving the middle of the chain: the menus after this one stay.
            for (TMenu* m = Window->Menu; m; m = m->Next) {
                if (m->Next == this) {
                    m->Next = Next;
                    Next = nullptr;
                    break;
                }
            }
        }
        Window = nullptr;
    }

    if (MenuHandle)
        DestroyMenu(MenuHandle);
    MenuHandle = nullptr;
    FreeAndClear(SubItems);
    FreeAndClear(Next);
    TRefObject::Destroy();
}
