// Menus built from templates on a real window: numbering, the Windows menus they
// make, commands chosen with the keyboard reaching their handlers, check and radio
// marks, and teardown with the window.
#include "WolTestForm.h"

#include "wol/Menu.h"

#include <string>
#include <vector>

namespace {

// Taken before any test runs: the counter is constant-initialised.
const UINT InitialMenuId = NextMenuId;

const char* const MainTemplate[] = {"Help", "(", "Online Help", "Download DVD Flick", ")", ""};

struct Choice {
    TMenu* Root = nullptr;
    std::vector<int> Indices;
};

void RecordChoice(void* context, TMenu* root, int index)
{
    auto* choice = (Choice*)context;
    choice->Root = root;
    choice->Indices.push_back(index);
}

TMenuHandler Recorder(Choice& choice)
{
    return TMenuHandler{RecordChoice, &choice};
}

std::string MenuText(HMENU menu, int position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

bool Checked(TMenu* item)
{
    return GetMenuState(item->ParentItem->MenuHandle, item->Id, MF_BYCOMMAND) & MF_CHECKED;
}

// The command a menu item (or an accelerator) sends to its window.
void Command(TWidget* form, TMenu* item)
{
    SendMessageA(form->Handle, WM_COMMAND, MAKEWPARAM(item->Id, 0), 0);
}

}

TEST_F(FormTest, MainWindowTemplateMakesAHelpMenu)
{
    EXPECT_EQ(4096u, InitialMenuId);
    UINT first = NextMenuId;
    TMenu* root = NewMenu(Form, MainTemplate, 5, TMenuHandler{});
    EXPECT_EQ(root, Form->Menu);
    EXPECT_EQ(Form, root->Window);
    EXPECT_EQ((UINT_PTR)root->MenuHandle, Form->MenuOrId);
    EXPECT_EQ(root->MenuHandle, GetMenu(Form->Handle));

    const char* names[] = {"Help", "Online Help", "Download DVD Flick"};
    for (int i = 0; i < 3; ++i) {
        TMenu* item = FindItem(root, i);
        ASSERT_NE(nullptr, item) << i;
        EXPECT_STREQ(names[i], item->Text.CStr());
        EXPECT_EQ(first + i, item->Id);
        EXPECT_EQ(i, MenuItemIndex(root, item));
        EXPECT_EQ(item, FindItem(root, (int)(first + i)));
    }
    EXPECT_EQ(root, FindItem(root, -1));
    EXPECT_EQ(nullptr, FindItem(root, 3));

    HMENU bar = root->MenuHandle;
    HMENU help = FindItem(root, 0)->MenuHandle;
    ASSERT_EQ(1, GetMenuItemCount(bar));
    EXPECT_EQ("Help", MenuText(bar, 0));
    EXPECT_EQ(help, GetSubMenu(bar, 0));
    ASSERT_EQ(2, GetMenuItemCount(help));
    EXPECT_EQ("Online Help", MenuText(help, 0));
    EXPECT_EQ(first + 2, GetMenuItemID(help, 1));

    // Menus made later go on numbering; a menu without window is a pop-up menu.
    const char* const single[] = {"Other"};
    TMenu* popup = NewMenu(nullptr, single, 0, TMenuHandler{});
    EXPECT_EQ(first + 3, FindItem(popup, 0)->Id);
    EXPECT_EQ(-2, MenuItemIndex(root, FindItem(popup, 0)));
    EXPECT_TRUE(IsMenu(popup->MenuHandle));
    Free(popup);
}

TEST_F(FormTest, MenuChosenWithTheKeyboardReachesItsHandler)
{
    Choice rootChoice, onlineChoice;
    TMenu* root = NewMenu(Form, MainTemplate, 5, Recorder(rootChoice));
    TMenuHandler bound[] = {Recorder(onlineChoice)};
    SetItemHandlers(root, 1, bound, 0);
    SetItemHandlers(root, 5, bound, 0);   // no item 5: binds nothing
    EXPECT_EQ(nullptr, FindItem(root, 2)->Handler.Routine);

    // A button whose identifier equals a menu item's: its command is the button's.
    ControlIdCounter = (uint16_t)FindItem(root, 1)->Id;
    TWidget* button = NewButton(Form, "Same id");
    int clicks = 0;
    button->ClickEvent = Counter(clicks);
    Show();

    // Alt opens the menu bar, Down the "Help" menu on its first item.
    gui::PressKey(VK_MENU);
    gui::PressKey(VK_DOWN);
    gui::PressKey(VK_RETURN);
    ASSERT_TRUE(gui::WaitUntil([&] { return onlineChoice.Indices.size() == 1; }));
    EXPECT_EQ(1, onlineChoice.Indices[0]);
    EXPECT_EQ(root, onlineChoice.Root);

    gui::PressKey(VK_MENU);
    gui::PressKey(VK_DOWN);
    gui::PressKey(VK_DOWN);
    gui::PressKey(VK_RETURN);
    ASSERT_TRUE(gui::WaitUntil([&] { return rootChoice.Indices.size() == 1; }));
    EXPECT_EQ(2, rootChoice.Indices[0]);

    gui::ClickAt(button->Handle, gui::ClientCenter(button->Handle));
    ASSERT_TRUE(gui::WaitUntil([&] { return clicks == 1; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(1u, onlineChoice.Indices.size());
    EXPECT_EQ(1u, rootChoice.Indices.size());

    // Without any handler the command is still the menu's.
    TMenu* quiet = NewMenu(nullptr, MainTemplate, 5, TMenuHandler{});
    TWidget* other = NewForm(nullptr, "Other");
    other->Menu = quiet;
    TMessageRecord record = {nullptr, WM_COMMAND, MAKEWPARAM(FindItem(quiet, 2)->Id, 0), 0};
    LRESULT result = 1;
    EXPECT_TRUE(MenuCommand(other, record, result));
    EXPECT_EQ(0, result);
    record.WParam = MAKEWPARAM(FindItem(root, 2)->Id, 0);
    EXPECT_FALSE(MenuCommand(other, record, result));
    other->Menu = nullptr;
    Free(quiet);
    Free(other);
}

TEST_F(FormTest, CheckAndRadioItemsKeepTheirMarks)
{
    const char* const options[] = {"Options", "(", "-Half Resolution", "-", "+!4:3", "-!16:9",
                                   "-!!NTSC", "-!PAL", ")", ""};
    Choice choice;
    TMenu* root = NewMenu(Form, options, 9, Recorder(choice));
    TMenu* half = FindItem(root, 1);
    TMenu* separator = FindItem(root, 2);
    TMenu* standard = FindItem(root, 3);
    TMenu* wide = FindItem(root, 4);
    TMenu* ntsc = FindItem(root, 5);
    TMenu* pal = FindItem(root, 6);
    EXPECT_STREQ("Half Resolution", half->Text.CStr());
    EXPECT_STREQ("16:9", wide->Text.CStr());
    EXPECT_EQ(half->Id + 1, separator->Id);
    EXPECT_TRUE(GetMenuState(FindItem(root, 0)->MenuHandle, separator->Id, MF_BYCOMMAND) & MF_SEPARATOR);
    EXPECT_EQ(1, standard->RadioGroup);
    EXPECT_EQ(1, wide->RadioGroup);
    EXPECT_EQ(2, ntsc->RadioGroup);
    EXPECT_EQ(2, pal->RadioGroup);

    EXPECT_FALSE(Checked(half));
    Command(Form, half);
    EXPECT_TRUE(Checked(half));
    Command(Form, half);
    EXPECT_FALSE(Checked(half));

    EXPECT_TRUE(Checked(standard));
    Command(Form, wide);
    EXPECT_TRUE(Checked(wide));
    EXPECT_FALSE(Checked(standard));
    EXPECT_FALSE(Checked(ntsc));
    Command(Form, pal);
    EXPECT_TRUE(Checked(pal));
    EXPECT_TRUE(Checked(wide));   // another group
    EXPECT_EQ((std::vector<int>{1, 1, 4, 6}), choice.Indices);

    // A mask with bit 31 asks and sets the opposite.
    const UINT notChecked = MFS_CHECKED | 0x80000000;
    EXPECT_TRUE(GetItemState(standard, notChecked));
    SetItemState(standard, notChecked, false);
    EXPECT_TRUE(Checked(standard));
    EXPECT_TRUE(GetItemState(standard, MFS_CHECKED));
}

TEST_F(FormTest, MenusGoWithTheirWindow)
{
    TMenu* root = NewMenu(Form, MainTemplate, 5, TMenuHandler{});
    const char* const extra[] = {"Extra"};
    Choice choice;
    TMenu* second = NewMenu(Form, extra, 0, Recorder(choice));
    EXPECT_EQ(root, Form->Menu);
    EXPECT_EQ(second, root->Next);
    EXPECT_NE(GetMenu(Form->Handle), second->MenuHandle);
    Command(Form, FindItem(second, 0));
    EXPECT_EQ((std::vector<int>{0}), choice.Indices);
    EXPECT_EQ(second, choice.Root);

    // An item freed on its own leaves its Windows menu and renumbers the rest.
    HMENU help = FindItem(root, 0)->MenuHandle;
    TMenu* download = FindItem(root, 2);
    Free(FindItem(root, 1));
    EXPECT_EQ(1, GetMenuItemCount(help));
    EXPECT_EQ(1, MenuItemIndex(root, download));

    SetWindowMenu(Form, root->MenuHandle);   // the same menu: nothing happens
    EXPECT_TRUE(IsMenu(root->MenuHandle));

    HMENU handles[] = {root->MenuHandle, help, second->MenuHandle};
    HWND window = Form->Handle;
    FreeAndClear(Form);
    for (HMENU handle : handles)
        EXPECT_FALSE(IsMenu(handle));
    EXPECT_FALSE(IsWindow(window));
}

TEST(MenuItemInfoSize, RecordWithoutBitmapBeforeWindows98And2000)
{
    const UINT oldSize = (UINT)offsetof(MENUITEMINFOA, hbmpItem);
    const UINT fullSize = (UINT)sizeof(MENUITEMINFOA);
    if (sizeof(void*) == 4) {
        EXPECT_EQ(44u, oldSize);
        EXPECT_EQ(48u, fullSize);
    }
    struct {
        DWORD Version;
        UINT Size;
    } cases[] = {
        {0x80000003, oldSize},    // Win32s 3.x
        {0xC0000004, oldSize},    // Windows 95
        {0xC0000A04, fullSize},   // Windows 98
        {0xC0005A04, fullSize},   // Windows Me
        {0x05650004, oldSize},    // NT 4
        {0x08930005, fullSize},   // Windows 2000
        {0x0A280105, fullSize},   // XP
        {0x1DB10106, fullSize},   // 7
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Size, MenuItemInfoSize(c.Version)) << std::hex << c.Version;
}
