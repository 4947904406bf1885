// The list of input files: adding through the open-file dialog, refusals, removal.
#include "app/AppTest.h"

namespace {

using FileListTest = AppTest;
using Paths = std::vector<std::string>;

TEST_F(FileListTest, AddingAListedFileAgainIsRefusedWithItsPath)
{
    const std::string clip = MakeFile("clip.avi");
    AddVideoFile(clip);
    Require("the file in the list", [&] { return App.ListItems(Ctl(FileList)) == Paths{clip}; });
    // The first file added is selected.
    EXPECT_EQ(App.ListSelection(Ctl(FileList)), std::vector<int>{0});

    AddVideoFile(clip);
    EXPECT_EQ(AnswerMessageBox(), "This file already exists: " + clip);
    EXPECT_EQ(App.ListItems(Ctl(FileList)), Paths{clip});
}

TEST_F(FileListTest, APathWithAForeignCharacterIsRefused)
{
    AddVideoFile(MakeFile("vid\xE9o.avi"));
    EXPECT_EQ(AnswerMessageBox(), "Please do not use foreign characters in path and files names");
    EXPECT_TRUE(App.ListItems(Ctl(FileList)).empty());
}

// The list box reports its caret item as current even when nothing is selected;
// "Remove" removes a selected item only. Each step is followed by input whose
// effect shows that the click before it has been handled.
TEST_F(FileListTest, RemoveTakesTheSelectedItemAndNothingWithoutOne)
{
    HWND list = Ctl(FileList);
    const std::string first = MakeFile("first.avi"), second = MakeFile("second.avi"), third = MakeFile("third.avi");
    AddVideoFile(first);
    AddVideoFile(second);
    Require("two files in the list", [&] { return App.ListItems(list) == Paths{first, second}; });

    App.ClickListItem(list, 0, true);
    Require("the first file to be unselected", [&] { return App.ListSelection(list).empty(); });
    App.Click(Ctl(RemoveButton));
    App.ClickListItem(list, 1);
    Require("the second file to be selected", [&] { return App.ListSelection(list) == std::vector<int>{1}; });
    EXPECT_EQ(App.ListItems(list), (Paths{first, second}));

    App.Click(Ctl(RemoveButton));
    Require("the second file to be removed", [&] { return App.ListItems(list) == Paths{first}; });

    App.Click(Ctl(RemoveButton));
    AddVideoFile(third);
    Require("the third file at the end of the list", [&] {
        const Paths items = App.ListItems(list);
        return !items.empty() && items.back() == third;
    });
    EXPECT_EQ(App.ListItems(list), (Paths{first, third}));
}

} // namespace
