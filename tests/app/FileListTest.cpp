// The list of input files: adding through the open-file dialog and by dropping
// files onto the window, refusals, removal, and the script "Start" writes for it.
#include "app/AppTest.h"

using FileListTest = AppTest;

const std::string Foreign = "Please do not use foreign characters in path and files names";

// The refusals of one choice or drop come in one message; a cancelled dialog offers
// no name the next time. "Remove" and the Delete key take every selected file and
// nothing without one (the list box reports its caret item as current even when
// nothing is selected); the script has a block per file.
TEST_F(FileListTest, FilesAddedOneOrManyAtATimeAreCheckedAndSelectedOnesRemoved)
{
    InstallEncoder();
    HWND list = Ctl(FileList);
    const std::string a = MakeFile("a.avi"), b = MakeFile("b.avi"), c = MakeFile("c.avi"), d = MakeFile("d.avi"),
                      e = MakeFile("e.avi"), folder = MakeFolder("Season 1"), foreign = MakeFile("vid\xE9o.avi");
    AddVideoFile(a);
    gui::Require("the file in the list", [&] { return gui::Items(list) == Texts{a}; });
    EXPECT_EQ(SendMessageA(list, LB_GETSEL, 0, 0), 1) << "the first file added is selected";
    AddVideoFile(a);
    EXPECT_EQ(AnswerMessageBox(), "This file already exists: " + a);
    AddVideoFile(foreign);
    EXPECT_EQ(AnswerMessageBox(), Foreign);
    gui::Click(Ctl(AddFileButton));
    gui::Press(gui::WaitForDialog(ProcessId, "Select a Video File"), "Cancel");
    gui::Click(Ctl(AddFileButton));
    const gui::Dialog dialog = gui::WaitForDialog(ProcessId, "Select a Video File");
    EXPECT_EQ(gui::Text(gui::Child(GetDlgItem(dialog.Window, 1148), "Edit")), "");
    // Names in the folder the dialog opens in: that of the last choice.
    gui::ChooseFile(dialog, "\"b.avi\" \"a.avi\" \"vid\xE9o.avi\"");
    EXPECT_EQ(AnswerMessageBox(), Foreign + ":\n" + foreign + "\n\nThis file already exists:\n" + a);
    DropFiles({c, folder, d, foreign, e, b});
    EXPECT_EQ(AnswerMessageBox(), folder + " is a folder, not a video file\n\n" + Foreign + ":\n" + foreign +
                                      "\n\nThis file already exists:\n" + b);
    EXPECT_EQ(gui::Items(list), Texts({a, b, c, d, e}));

    ClickItem(4);
    gui::Key(VK_DELETE);
    gui::Require("the last file to be removed", [&] { return gui::Items(list).size() == 4; });
    ClickItem(0);
    ClickItem(2, true);
    gui::Require("two files selected", [&] { return SendMessageA(list, LB_GETSELCOUNT, 0, 0) == 2; });
    gui::Click(Ctl(RemoveButton));
    gui::Require("the selected files to be removed", [&] { return gui::Items(list) == Texts({b, d}); });
    gui::Click(Ctl(RemoveButton));   // with nothing selected
    DropFiles({a});                  // a removed file is no duplicate
    gui::Require("a removed file to be added again", [&] { return gui::Items(list) == Texts({b, d, a}); });

    StartConversion();
    Texts inputs;
    for (const std::string& line : Lines(ReadFile("C:\\convert.bat")))
        if (line.rfind("ffmpeg.exe -i \"", 0) == 0)
            inputs.push_back(line.substr(15, line.find('"', 15) - 15));
    EXPECT_EQ(inputs, Texts({b, b, d, d, a, a}));
    EXPECT_EQ(gui::Items(list), Texts({b, d, a}));
}
