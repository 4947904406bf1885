// The list of input files: adding through the open-file dialog and by dropping
// files onto the window, refusals, removal, and the script "Start" writes for it.
#include "app/AppTest.h"

namespace {

using FileListTest = AppTest;
using Paths = std::vector<std::string>;

TEST_F(FileListTest, FilesChosenInOneDialogAreCheckedOneByOne)
{
    const std::string clip = MakeFile("clip.avi"), b = MakeFile("b.avi"), c = MakeFile("c.avi"),
                      foreign = MakeFile("vid\xE9o.avi");
    AddVideoFile(clip);
    Require("the file in the list", [&] { return App.ListItems(Ctl(FileList)) == Paths{clip}; });
    // The first file added is selected.
    EXPECT_EQ(App.ListSelection(Ctl(FileList)), std::vector<int>{0});

    AddVideoFile(clip);
    EXPECT_EQ(AnswerMessageBox(), "This file already exists: " + clip);
    EXPECT_EQ(App.ListItems(Ctl(FileList)), Paths{clip});

    // Names in the folder the dialog opens in: that of the last choice.
    AddVideoFile("\"b.avi\" \"clip.avi\" \"vid\xE9o.avi\"");
    EXPECT_EQ(AnswerMessageBox(), "Please do not use foreign characters in path and files names:\n" + foreign +
                                      "\n\nThis file already exists:\n" + clip);
    AddVideoFile("c.avi");
    Require("three files in the list", [&] { return App.ListItems(Ctl(FileList)) == Paths{clip, b, c}; });
}

TEST_F(FileListTest, APathWithAForeignCharacterIsRefused)
{
    AddVideoFile(MakeFile("vid\xE9o.avi"));
    EXPECT_EQ(AnswerMessageBox(), "Please do not use foreign characters in path and files names");
    EXPECT_TRUE(App.ListItems(Ctl(FileList)).empty());
}

// Dropped files go through the checks of "Add Video File"; a dropped folder adds
// nothing. "Remove" and the Delete key take every selected file and nothing
// without one (the list box reports its caret item as current even when nothing is
// selected), and the script has one block per file left.
TEST_F(FileListTest, DroppedFilesAreCheckedAndSelectedOnesRemoved)
{
    InstallEncoder();
    HWND list = Ctl(FileList);
    Paths files;
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi", "e.avi", "f.avi"})
        files.push_back(MakeFile(name));
    const std::string folder = MakeFolder("Season 1"), foreign = MakeFile("vid\xE9o.avi");
    App.DropFiles({files[0], files[1], files[2], folder, files[3], files[4], foreign, files[5], files[0]});
    EXPECT_EQ(AnswerMessageBox(), folder + " is a folder, not a video file\n\n"
                                           "Please do not use foreign characters in path and files names:\n" +
                                      foreign + "\n\nThis file already exists:\n" + files[0]);
    EXPECT_EQ(App.ListItems(list), files);

    App.ClickListItem(list, 5);
    gui::PressKey(VK_DELETE);
    Require("the last file to be removed", [&] { return App.ListItems(list).size() == 5; });
    std::vector<int> selected;
    for (int i : {0, 2, 4}) {
        App.ClickListItem(list, i, i > 0);
        selected.push_back(i);
        Require("file " + std::to_string(i) + " to be selected", [&] { return App.ListSelection(list) == selected; });
    }
    App.Click(Ctl(RemoveButton));
    Require("the selected files to be removed", [&] { return App.ListItems(list) == Paths{files[1], files[3]}; });
    App.Click(Ctl(RemoveButton)); // with nothing selected
    App.DropFiles({files[0]});    // a removed file is no duplicate
    Require("a removed file to be added again", [&] { return App.ListItems(list).size() == 3; });

    App.Click(Ctl(StartButton));
    Require("the window to be minimised", [&] { return IsIconic(App.MainWindow()) != FALSE; });
    Paths inputs;
    for (const std::string& line : Lines(ReadFile("C:\\convert.bat")))
        if (line.rfind("ffmpeg.exe -i \"", 0) == 0)
            inputs.push_back(line.substr(15, line.find('"', 15) - 15));
    EXPECT_EQ(inputs, (Paths{files[1], files[1], files[3], files[3], files[0], files[0]}));
    EXPECT_EQ(App.ListItems(list), (Paths{files[1], files[3], files[0]}));
}

} // namespace
