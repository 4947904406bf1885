// Menus built from a template on a real window: numbering, the Windows menus they
// make, commands chosen with the keyboard reaching their handlers, check and radio
// marks.
#include "WolTestSupport.h"

#include "wol/Menu.h"

namespace {

using Menus = WolTest;

std::vector<int> chosen;   // the indices the handlers got, the root's negated

bool Checked(TMenu* item) { return GetMenuState(item->ParentItem->MenuHandle, item->Id, MF_BYCOMMAND) & MF_CHECKED; }

}

TEST_F(Menus, ATemplateMakesTheMenusAndTheirCommandsReachTheHandlers)
{
    const char* const texts[] = {"Help", "(", "Online Help", "Download DVD Flick", ")", "Options", "(", "-Half",
                                 "-", "+!4:3", "-!16:9", "-!!NTSC", "-!PAL", ")", ""};
    TMenu* root = NewMenu(Form, texts, 14, {[](void*, TMenu*, int index) { chosen.push_back(-index); }, nullptr});
    const TMenuHandler online = {[](void*, TMenu*, int index) { chosen.push_back(index); }, nullptr};
    SetItemHandlers(root, 1, &online, 0);
    EXPECT_EQ(GetMenu(Form->GetHandle()), root->MenuHandle);
    ASSERT_EQ(GetMenuItemCount(root->MenuHandle), 2);
    HMENU help = GetSubMenu(root->MenuHandle, 0);
    char text[32];
    GetMenuStringA(help, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text), "Download DVD Flick");
    EXPECT_EQ((std::vector<UINT>{GetMenuItemID(help, 0), FindItem(root, 9)->Id}), (std::vector<UINT>{4097, 4105}));
    EXPECT_EQ(FindItem(root, 4098), FindItem(root, 2));
    EXPECT_EQ(FindItem(root, -1), root);
    EXPECT_EQ(FindItem(root, 10), nullptr);
    // A button whose identifier equals a menu item's: its command is the button's.
    ControlIdCounter = 4097;
    TWidget* button = NewButton(Form, "Same id");
    int clicks = 0;
    button->ClickEvent = Counter(clicks);
    Show();

    // F10 takes the menu bar, Down opens "Help" on its first item.
    const std::vector<std::vector<WORD>> choices = {{VK_F10, VK_DOWN, VK_RETURN}, {VK_F10, VK_DOWN, VK_DOWN, VK_RETURN}};
    for (size_t i = 0; i < choices.size(); ++i) {
        for (WORD key : choices[i])
            gui::Key(key);
        gui::Require("the menu command", [&] { return chosen.size() == i + 1; });
    }
    gui::Click(button->Handle);
    gui::Require("the button's click", [&] { return clicks == 1; });
    gui::Settle();
    EXPECT_EQ(chosen, (std::vector<int>{1, -2}));

    // "-" and "+" make check items, "!" radio items in the group of the item before,
    // "!!" the next group.
    TMenu* half = FindItem(root, 4);
    for (int index : {4, 4, 4, 7, 9})
        SendMessageA(Form->Handle, WM_COMMAND, FindItem(root, index)->Id, 0);
    EXPECT_EQ(half->Text, "Half");
    std::vector<bool> marks;
    for (int index = 4; index <= 9; ++index)
        marks.push_back(index != 5 && Checked(FindItem(root, index)));
    EXPECT_EQ(marks, (std::vector<bool>{true, false, false, true, false, true}));
}
