// Menus built from a template on a real window: numbering, the Windows menus they
// make, commands reaching their handlers, check and radio marks. (The program's
// "Help" menu, chosen with the keyboard, shows the items' own handlers at work.)
#include "WolTestSupport.h"

#include "wol/Menu.h"

using Menus = WolTest;

static std::vector<int> chosen;   // the indices the root's handler got, negated

// "-" and "+" make check items, "!" radio items in the group of the item before,
// "!!" the next group. A control whose identifier equals a menu item's sends its
// own command.
TEST_F(Menus, ATemplateMakesTheMenusAndTheirCommandsReachTheHandlers)
{
    const char* const texts[] = {"Help", "(", "Online Help", "Download DVD Flick", ")", "Options", "(", "-Half",
                                 "-", "+!4:3", "-!16:9", "-!!NTSC", "-!PAL", ")", ""};
    TMenu* root = NewMenu(Form, texts, 14, {[](void*, TMenu*, int index) { chosen.push_back(-index); }, nullptr});
    HMENU help = GetSubMenu(GetMenu(Form->GetHandle()), 0);
    char text[32];
    GetMenuStringA(help, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text) + std::to_string(GetMenuItemCount(GetMenu(Form->Handle))), "Download DVD Flick2");
    EXPECT_EQ((std::vector<UINT>{GetMenuItemID(help, 0), FindItem(root, 9)->Id}), (std::vector<UINT>{4097, 4105}));
    EXPECT_TRUE(FindItem(root, 4098) == FindItem(root, 2) && FindItem(root, -1) == root && !FindItem(root, 10));
    ControlIdCounter = 4097;
    TWidget* button = NewButton(Form, "Same id");
    int clicks = 0;
    button->ClickEvent = Counter(clicks);
    Show();

    gui::Click(button->Handle);
    gui::Require("the button's click", [&] { return clicks == 1; });
    for (int index : {4, 4, 4, 7, 9})
        SendMessageA(Form->Handle, WM_COMMAND, FindItem(root, index)->Id, 0);
    std::vector<int> marks;
    for (int index : {4, 6, 7, 8, 9})
        marks.push_back(GetMenuState(FindItem(root, 3)->MenuHandle, FindItem(root, index)->Id, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(marks, (std::vector<int>{MF_CHECKED, 0, MF_CHECKED, 0, MF_CHECKED}));
    EXPECT_EQ(chosen, (std::vector<int>{-4, -4, -4, -7, -9}));
    EXPECT_EQ(FindItem(root, 4)->Text, "Half");
}
