// The list of input files and the bitrate boxes: adding files through the open-file
// dialog and by dropping them onto the window, refusals, removal; presets and typed
// rates with the capacity estimate they refresh; and the script "Start" writes.
#include "app/AppTest.h"

#include <shlobj.h>

using FilesAndRates = AppTest;

const std::string Foreign = "Please do not use foreign characters in path and files names";
const char* const At1000[] = {"DVD 4,3 GB: 6 Hr 35 min 56 sec", "DVD 8,5 GB: 13 Hr 2 min 41 sec"};
const char* const At5000[] = {"DVD 4,3 GB: 1 Hr 45 min 14 sec", "DVD 8,5 GB: 3 Hr 28 min 1 sec"};
const char* const At2500[] = {"DVD 4,3 GB: 3 Hr 14 min 28 sec", "DVD 8,5 GB: 6 Hr 24 min 26 sec"};
const char* const At500[] = {"DVD 4,3 GB: 10 Hr 4 min 46 sec", "DVD 8,5 GB: 19 Hr 55 min 29 sec"};

// The refusals of one choice or drop come in one message; a cancelled dialog offers
// no name the next time. "Remove" and Delete take every selected file, and nothing
// when none is selected. The focus stays in the bitrate box being typed in: the arrow
// keys step through the presets, Esc in the open list returns to its first choice. A
// text that is no number leaves the estimate standing and "Start" refuses it.
// "Custom:" makes its box the active one; a double click on it is two clicks.
TEST_F(FilesAndRates, ChosenInEveryWayTheyReachTheScript)
{
    InstallEncoder();
    HWND list = Ctl(FileList), combo = Ctl(BitrateCombo);
    const std::string a = MakeFile("a.avi"), b = MakeFile("b.avi"), c = MakeFile("c.avi"), d = MakeFile("d.avi"),
                      e = MakeFile("e.avi"), folder = MakeFolder("Season 1"), foreign = MakeFile("vid\xE9o.avi");
    AddVideoFile(a);
    gui::Require("the file in the list", [&] { return gui::Items(list) == Texts{a}; });
    EXPECT_EQ(SendMessageA(list, LB_GETSEL, 0, 0), 1) << "the first file added is selected";
    AddVideoFile(a);
    EXPECT_EQ(AnswerMessageBox(), "This file already exists: " + a);
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

    StepComboTo(BitrateCombo, 0);
    RequireEstimate(At1000);
    for (WORD key : {VK_F4, VK_DOWN, VK_ESCAPE})
        gui::Key(key);
    gui::Require("the list closed on 1000", [&] { return !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) && Text(BitrateCombo) == "1000"; });
    for (const char* rate : {"5000", "2500", "2500k"}) {
        gui::TypeOver(combo, rate);
        RequireEstimate(rate[0] == '5' ? At5000 : At2500);
    }
    EXPECT_TRUE(gui::HasFocus(combo));
    gui::Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), "Check the bitrate - enter value between 100 and 9000 using digits only");
    Sync();
    EXPECT_FALSE(HasDialog() || Exists("C:\\convert.bat"));
    gui::TypeOver(combo, "1000");
    gui::Click(Ctl(CustomCheck));
    gui::Require("the custom box to be enabled", [&] { return IsWindowEnabled(Ctl(CustomBitrateEdit)); });
    EXPECT_FALSE(IsWindowEnabled(combo));
    RequireEstimate(At1000);
    gui::TypeOver(Ctl(CustomBitrateEdit), "500");
    RequireEstimate(At500);
    gui::TypeOver(Ctl(CustomBitrateEdit), "2500");
    RequireEstimate(At2500);
    EXPECT_TRUE(gui::HasFocus(Ctl(CustomBitrateEdit)));
    gui::Click(Ctl(CustomCheck), false, 3);
    // Queued after the clicks: past the custom box, disabled only by a cleared "Custom:".
    gui::Key(VK_TAB);
    gui::Require("the focus past the disabled custom box", [&] { return gui::HasFocus(Ctl(HalfD1Check)); });
    RequireEstimate(At1000);
    EXPECT_TRUE(IsWindowEnabled(combo) && !IsWindowEnabled(Ctl(CustomBitrateEdit)));
    gui::Click(Ctl(CustomCheck));
    RequireEstimate(At2500);

    StartConversion();
    Texts inputs;
    for (const std::string& line : Lines(ReadFile("C:\\convert.bat")))
        if (line.rfind("ffmpeg.exe -i \"", 0) == 0)
            inputs.push_back(line.substr(15, line.find('"', 15) - 15));
    EXPECT_EQ(inputs, Texts({b, b, d, d, a, a}));
    EXPECT_EQ(gui::Items(list), Texts({b, d, a}));
    const std::string pass1 = RequireEncoderCalls(1)[0];
    EXPECT_NE(pass1.find(" -minrate 2500k -maxrate 2500k -b 2500k "), std::string::npos) << pass1;
}

// A shortcut to target, made as the shell makes one.
static std::string MakeShortcut(const std::string& target)
{
    IShellLinkA* link;
    IPersistFile* file;
    CoInitialize(nullptr);
    CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkA), (void**)&link);
    link->SetPath(target.c_str());
    link->QueryInterface(__uuidof(IPersistFile), (void**)&file);
    file->Save(std::wstring(target.begin(), target.end()).append(L".lnk").c_str(), TRUE);
    file->Release(), link->Release();
    return target + ".lnk";
}

// A folder's 300 long names chosen at once, more than the dialog's first buffer of
// 65,520 characters held, come whole; a name outside the code page comes as "?" and
// is refused. A lone short choice after them is that file alone (the shortcut to it a
// duplicate). A dropped shortcut is its target, put through every check, or refused.
TEST_F(FilesAndRates, EveryChoiceIsTakenExactly)
{
    const std::string season = MakeFolder("Season"), b = MakeFile("b.avi"), gone = season + "\\gone.avi";
    for (int part = 1000; part < 1300; ++part)
        MakeFile("Season\\" + std::to_string(part) + std::string(211, 'x') + ".avi");
    CloseHandle(CreateFileW(L"C:\\spindrel-e2e\\Season\\\x0416.avi", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    gui::Click(Ctl(AddFileButton));
    const gui::Dialog dialog = gui::WaitForDialog(ProcessId, "Select a Video File");
    gui::TypeOver(gui::Child(GetDlgItem(dialog.Window, 1148), "Edit"), season);
    gui::Key(VK_RETURN);
    HWND files;   // the view is made anew for each folder
    gui::Require("the folder's files", [&] {
        return SendMessageA(files = gui::Child(dialog.Window, "SysListView32"), LVM_GETITEMCOUNT, 0, 0) == 301;
    });
    gui::Click(files);
    gui::Key(VK_HOME);
    gui::Key(VK_END, VK_SHIFT);
    gui::Require("every file selected", [&] { return SendMessageA(files, LVM_GETSELECTEDCOUNT, 0, 0) == 301; });
    gui::Key(VK_RETURN);
    EXPECT_EQ(AnswerMessageBox(), Foreign);
    AddVideoFile(b);
    DropFiles({MakeShortcut(b), MakeShortcut(season), MakeFile("broken.lnk"), gone});
    EXPECT_EQ(AnswerMessageBox(), season + " is a folder, not a video file\n\nC:\\spindrel-e2e\\broken.lnk is a shortcut "
                                  "that cannot be followed\n\n" + gone + " cannot be found\n\nThis file already exists:\n" + b);
    EXPECT_EQ(gui::Items(Ctl(FileList)).size(), 301u);
}
