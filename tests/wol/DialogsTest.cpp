// The real common dialogs and message box, found by their titles and answered
// from a helper thread as a user would: typing a file name, picking a folder,
// pressing the buttons.
#include "WolTestSupport.h"

#include "wol/Dialogs.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>

namespace {

// The explorer-style file dialog's file-name box, file-type list and read-only box.
const int FileNameBox = 1148;   // cmb13
const int FileTypeList = 1136;  // cmb1
const int ReadOnlyBox = 1040;   // chx1

// A fresh folder under the temporary folder, with the given empty files in it.
std::string MakeFolder(const char* name, std::initializer_list<const char*> files = {})
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* file : files)
        CloseHandle(CreateFileA((folder + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return folder;
}

HWND FileNameEdit(HWND dialog) { return gui::FindDescendant(GetDlgItem(dialog, FileNameBox), "Edit"); }

void SendFolderSelection(HWND dialog, const std::string& path)
{
    DWORD_PTR done = 0;
    SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, TRUE, (LPARAM)path.c_str(), SMTO_NORMAL,
                        gui::DefaultTimeoutMs, &done);
}

std::string SelectedTreeItem(HWND tree)
{
    char text[MAX_PATH] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (item.hItem)
        SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&item);
    return text;
}

// Selects the folder in the folder dialog's tree, as the dialog's own callback
// would, once the tree holds its root: each folder on the way down first, so that
// every level is expanded before the next is looked for, as a user opens them.
void SelectFolder(HWND dialog, const std::string& folder)
{
    HWND tree = gui::FindDescendant(dialog, "SysTreeView32");
    gui::WaitUntil([&] { return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0) != 0; });
    for (size_t end = folder.find('\\'); end != std::string::npos; end = folder.find('\\', end + 1))
        SendFolderSelection(dialog, folder.substr(0, end + 1));
    SendFolderSelection(dialog, folder);
    const std::string leaf = folder.substr(folder.rfind('\\') + 1);
    gui::WaitUntil([&] { return SelectedTreeItem(tree) == leaf; });
}

class DialogTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Show();
        File = NewFileDialog("Select a Video File", "", 0);
        Form->AddOwned(File);
    }

    // Runs the file dialog, answering it with answer; the dialog's result.
    bool Run(const std::function<void(HWND)>& answer)
    {
        gui::DialogAnswerer answerer(File->Title.CStr(), answer);
        const bool chosen = RunFileDialog(File);
        EXPECT_TRUE(answerer.Wait()) << "the dialog was not answered";
        return chosen;
    }

    TFileDialog* File = nullptr;
};

}

TEST_F(DialogTest, FileTypedIntoTheOpenDialogIsChosen)
{
    const std::string path = MakeFolder("open", {"clip one.avi"}) + "\\clip one.avi";
    File->Filter = "Videos|*.avi;*.mpg|All Files|*.*";
    File->FilterIndex = 2;
    HWND owner = nullptr, readOnly = nullptr;
    std::string shownType;
    LRESULT types = 0;
    EXPECT_TRUE(Run([&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        readOnly = GetDlgItem(dialog, ReadOnlyBox);
        shownType = gui::WindowText(GetDlgItem(dialog, FileTypeList));
        types = SendMessageA(GetDlgItem(dialog, FileTypeList), CB_GETCOUNT, 0, 0);
        gui::WaitUntil([&] { return GetForegroundWindow() == dialog; });
        gui::TypeText(path);
        gui::WaitUntil([&] { return gui::WindowText(FileNameEdit(dialog)) == path; });
        gui::PressKey(VK_RETURN);
    }));
    EXPECT_EQ(File->FileName, path.c_str());
    EXPECT_EQ(File->FilterIndex, 2);
    EXPECT_FALSE(File->ReadOnly);
    EXPECT_EQ(owner, Form->Handle) << "the main window owns it";
    EXPECT_FALSE(IsWindowVisible(readOnly));
    EXPECT_EQ(types, 2) << "the bars became the pairs' separators";
    EXPECT_EQ(shownType, "All Files");
}

TEST_F(DialogTest, CancelClearsTheFileName)
{
    File->FileName = "previous.avi";
    File->FilterIndex = 1;
    std::string shownName;
    EXPECT_FALSE(Run([&](HWND dialog) {
        shownName = gui::WindowText(FileNameEdit(dialog));
        gui::PressDialogButton(dialog, IDCANCEL);
    }));
    EXPECT_EQ(shownName, "previous.avi");
    EXPECT_TRUE(File->FileName.IsEmpty());
    EXPECT_EQ(File->FilterIndex, 1);
}

// The folder is one that nothing changes while the test runs: the dialog
// rebuilds parts of its tree when the shell reports changes in a folder.
TEST_F(DialogTest, FolderChosenInTheTreeIsReturnedAndKeptOverACancel)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string folder = windows;
    TFolderDialog* dialog = NewFolderDialog("Select a DVD Flick Folder", 0);
    Form->AddOwned(dialog);
    const auto findPrompt = [] { return gui::FindTopLevelWindowShowing("Select a DVD Flick Folder"); };

    HWND owner = nullptr;
    gui::DialogAnswerer choose(findPrompt, [&](HWND d) {
        owner = GetWindow(d, GW_OWNER);
        SelectFolder(d, folder);
        gui::PressDialogButton(d, IDOK);
    });
    EXPECT_TRUE(RunFolderDialog(dialog));
    ASSERT_TRUE(choose.Wait());
    EXPECT_EQ(FolderPath(dialog), folder.c_str());
    EXPECT_EQ(owner, Form->Handle);

    gui::DialogAnswerer cancelled(findPrompt, [](HWND d) { gui::PressDialogButton(d, IDCANCEL); });
    EXPECT_FALSE(RunFolderDialog(dialog));
    ASSERT_TRUE(cancelled.Wait());
    EXPECT_EQ(FolderPath(dialog), folder.c_str()) << "the last choice stays";

    // Offered virtual folders too, the dialog lets "My Computer" be chosen, which
    // has no path: that counts as a cancel.
    dialog->Options = 1 << 2;
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    gui::DialogAnswerer virtualFolder(findPrompt, [&](HWND d) {
        HWND tree = gui::FindDescendant(d, "SysTreeView32");
        gui::WaitUntil([&] { return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0) != 0; });
        SendMessageA(d, BFFM_SETSELECTIONA, FALSE, (LPARAM)computer);
        gui::WaitUntil([&] { return SelectedTreeItem(tree) == "My Computer"; });
        gui::PressDialogButton(d, IDOK);
    });
    EXPECT_FALSE(RunFolderDialog(dialog));
    ASSERT_TRUE(virtualFolder.Wait());
    CoTaskMemFree(computer);
    EXPECT_EQ(FolderPath(dialog), folder.c_str());
}

TEST_F(FormTest, MessageBoxHasTheMainCaptionAndOnlyOk)
{
    HWND owner = (HWND)1;
    std::vector<std::string> buttons;
    HWND text = nullptr;
    gui::DialogAnswerer notice("Wol Test Form", [&](HWND box) {
        owner = GetWindow(box, GW_OWNER);
        for (HWND button : gui::VisibleButtons(box))
            buttons.push_back(gui::WindowText(button));
        text = gui::FindDescendant(box, "Static", "Input file already added.");
        gui::PressDialogButton(box, IDOK);
    });
    ShowMessage("Input file already added.");
    ASSERT_TRUE(notice.Wait());
    EXPECT_EQ(owner, Form->Handle) << "modal to the main window";
    EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
    EXPECT_NE(text, nullptr);

    gui::DialogAnswerer question("Wol Test Form", [](HWND box) { gui::PressDialogButton(box, IDNO); });
    EXPECT_EQ(MessageBox("Overwrite?", MB_YESNO), IDNO);
    ASSERT_TRUE(question.Wait());
}
