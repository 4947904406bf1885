// Menus built from templates on a real window: numbering, the Windows menus they
// make, commands chosen with the keyboard reaching their handlers, check and radio
// marks.
#include "WolTestSupport.h"

#include "wol/Menu.h"

#include <string>

namespace {

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

TMenuHandler Recorder(Choice& choice) { return TMenuHandler{RecordChoice, &choice}; }

std::string MenuText(HMENU menu, int position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

bool Checked(TMenu* item) { return GetMenuState(item->ParentItem->MenuHandle, item->Id, MF_BYCOMMAND) & MF_CHECKED; }

// The command a menu item (or an accelerator) sends to its window.
void Command(TWidget* form, TMenu* item) { SendMessageA(form->Handle, WM_COMMAND, MAKEWPARAM(item->Id, 0), 0); }

void ChooseWithKeys(std::initializer_list<WORD> keys)
{
    for (WORD key : keys)
        gui::PressKey(key);
}

}

TEST_F(FormTest, MainWindowTemplateMakesAHelpMenuNumberedFrom4096)
{
    TMenu* root = NewMenu(Form, MainTemplate, 5, TMenuHandler{});
    EXPECT_EQ(Form->Menu, root);
    EXPECT_EQ(GetMenu(Form->Handle), root->MenuHandle);
    const char* names[] = {"Help", "Online Help", "Download DVD Flick"};
    for (int i = 0; i < 3; ++i) {
        TMenu* item = FindItem(root, i);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(item->Text, names[i]);
        EXPECT_EQ(item->Id, 4096u + i);
        EXPECT_EQ(MenuItemIndex(root, item), i);
        EXPECT_EQ(FindItem(root, 4096 + i), item);
    }
    EXPECT_EQ(FindItem(root, -1), root);
    EXPECT_EQ(FindItem(root, 3), nullptr);

    HMENU bar = root->MenuHandle;
    HMENU help = FindItem(root, 0)->MenuHandle;
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(MenuText(bar, 0), "Help");
    EXPECT_EQ(GetSubMenu(bar, 0), help);
    ASSERT_EQ(GetMenuItemCount(help), 2);
    EXPECT_EQ(MenuText(help, 0), "Online Help");
    EXPECT_EQ(GetMenuItemID(help, 1), 4098u);
}

TEST_F(FormTest, MenuChosenWithTheKeyboardReachesItsHandlerButAControlsCommandNever)
{
    Choice rootChoice, onlineChoice;
    TMenu* root = NewMenu(Form, MainTemplate, 5, Recorder(rootChoice));
    TMenuHandler bound[] = {Recorder(onlineChoice)};
    SetItemHandlers(root, 1, bound, 0);
    SetItemHandlers(root, 5, bound, 0);   // no item 5: binds nothing
    EXPECT_EQ(FindItem(root, 2)->Handler.Routine, nullptr);
    // A button whose identifier equals a menu item's: its command is the button's.
    ControlIdCounter = (uint16_t)FindItem(root, 1)->Id;
    TWidget* button = NewButton(Form, "Same id");
    int clicks = 0;
    button->ClickEvent = Counter(clicks);
    Show();

    // Alt opens the menu bar, Down the "Help" menu on its first item.
    ChooseWithKeys({VK_MENU, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(gui::WaitUntil([&] { return onlineChoice.Indices.size() == 1; }));
    EXPECT_EQ(onlineChoice.Indices[0], 1);
    EXPECT_EQ(onlineChoice.Root, root);
    ChooseWithKeys({VK_MENU, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(gui::WaitUntil([&] { return rootChoice.Indices.size() == 1; }));
    EXPECT_EQ(rootChoice.Indices[0], 2);

    gui::ClickAt(button->Handle, gui::ClientCenter(button->Handle));
    ASSERT_TRUE(gui::WaitUntil([&] { return clicks == 1; }));
    gui::PumpUntilIdle();
    EXPECT_EQ(onlineChoice.Indices.size() + rootChoice.Indices.size(), 2u);
}

TEST_F(FormTest, CheckItemsFlipAndARadioGroupChecksOneItem)
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
    EXPECT_EQ(half->Text, "Half Resolution");
    EXPECT_EQ(wide->Text, "16:9");
    EXPECT_TRUE(GetMenuState(FindItem(root, 0)->MenuHandle, separator->Id, MF_BYCOMMAND) & MF_SEPARATOR);
    EXPECT_EQ((std::vector<int>{standard->RadioGroup, wide->RadioGroup, ntsc->RadioGroup, pal->RadioGroup}),
              (std::vector<int>{1, 1, 2, 2}));

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
    EXPECT_TRUE(Checked(wide)) << "another group";
    EXPECT_EQ(choice.Indices, (std::vector<int>{1, 1, 4, 6}));
}

