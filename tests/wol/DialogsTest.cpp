// The real common dialogs and message box, found by their titles and answered
// from a helper thread as a user would: typing a file name, picking a folder,
// pressing the buttons.
#include "WolTestForm.h"

#include "wol/Dialogs.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>

namespace {

// The explorer-style file dialog's file-name box and file-type list.
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
    for (const char* file : files) {
        HANDLE h = CreateFileA((folder + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(h);
    }
    return folder;
}

HWND FileNameEdit(HWND dialog)
{
    return gui::FindDescendant(GetDlgItem(dialog, FileNameBox), "Edit");
}

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
    std::string leaf = folder.substr(folder.rfind('\\') + 1);
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

    TFileDialog* File = nullptr;
};

}

TEST(OptionsToFlags, NegativeEntriesGoInWhenTheirOptionIsAbsent)
{
    const int32_t table[] = {0x0001, ~0x0800, 0x0010};
    EXPECT_EQ(0x0800u, OptionsToFlags(0, table, 3));
    EXPECT_EQ(0u, OptionsToFlags(1 << 1, table, 3));
    EXPECT_EQ(0x0811u, OptionsToFlags((1 << 0) | (1 << 2), table, 3));
    EXPECT_EQ(0x0800u, OptionsToFlags((1 << 3) | (1 << 15), table, 3));   // beyond the table
}

TEST(DialogObjects, EmptyOptionSetsGiveTheDefaults)
{
    TFolderDialog* folder = NewFolderDialog("Folder", 0);
    TFolderDialog* editBox = NewFolderDialog("Folder", 1 << 7);
    TFileDialog* file = NewFileDialog("File", "C:\\", 0);
    EXPECT_EQ(1 << 4, folder->Options);
    EXPECT_EQ(1 << 7, editBox->Options);
    EXPECT_EQ(0x060C, file->Options);
    EXPECT_TRUE(file->OpenDialog);
    EXPECT_EQ(0, file->FilterIndex);
    EXPECT_STREQ("C:\\", file->InitialDir.CStr());
    Free(folder);
    Free(editBox);
    Free(file);
}

TEST_F(DialogTest, FileTypedIntoTheOpenDialogIsChosen)
{
    std::string folder = MakeFolder("open", {"clip one.avi"});
    std::string path = folder + "\\clip one.avi";
    File->Filter = "Videos|*.avi;*.mpg|All Files|*.*";
    File->FilterIndex = 2;
    HWND owner = nullptr, readOnly = nullptr;
    std::string shownType;
    LRESULT types = 0;
    gui::DialogAnswerer answer("Select a Video File", [&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        readOnly = GetDlgItem(dialog, ReadOnlyBox);
        shownType = gui::WindowText(GetDlgItem(dialog, FileTypeList));
        types = SendMessageA(GetDlgItem(dialog, FileTypeList), CB_GETCOUNT, 0, 0);
        gui::WaitUntil([&] { return GetForegroundWindow() == dialog; });
        gui::TypeText(path);
        gui::WaitUntil([&] { return gui::WindowText(FileNameEdit(dialog)) == path; });
        gui::PressKey(VK_RETURN);
    });
    EXPECT_TRUE(RunFileDialog(File));
    ASSERT_TRUE(answer.Wait());
    EXPECT_STREQ(path.c_str(), File->FileName.CStr());
    EXPECT_EQ(2, File->FilterIndex);
    EXPECT_FALSE(File->ReadOnly);
    EXPECT_EQ(Form->Handle, owner);        // the main window owns it
    EXPECT_FALSE(IsWindowVisible(readOnly));
    EXPECT_EQ(2, types);                   // the bars became the pairs' separators
    EXPECT_EQ("All Files", shownType);
}

TEST_F(DialogTest, CancelClearsTheFileName)
{
    File->FileName = "previous.avi";
    File->FilterIndex = 1;
    std::string shownName;
    gui::DialogAnswerer answer("Select a Video File", [&](HWND dialog) {
        shownName = gui::WindowText(FileNameEdit(dialog));
        gui::PressDialogButton(dialog, IDCANCEL);
    });
    EXPECT_FALSE(RunFileDialog(File));
    ASSERT_TRUE(answer.Wait());
    EXPECT_EQ("previous.avi", shownName);
    EXPECT_TRUE(File->FileName.IsEmpty());
    EXPECT_EQ(1, File->FilterIndex);
}

TEST_F(DialogTest, SeveralFilesComeAsOneTextWithCarriageReturns)
{
    std::string folder = MakeFolder("multi", {"a.avi", "b.avi"});
    File->Options = 0x060C | (1 << 6);
    File->InitialDir = folder.c_str();
    gui::DialogAnswerer answer("Select a Video File", [&](HWND dialog) {
        gui::SetText(FileNameEdit(dialog), "\"a.avi\" \"b.avi\"");
        gui::PressDialogButton(dialog, IDOK);
    });
    EXPECT_TRUE(RunFileDialog(File));
    ASSERT_TRUE(answer.Wait());
    EXPECT_EQ(folder + "\ra.avi\rb.avi", File->FileName.CStr());
}

TEST_F(DialogTest, SaveDialogTakesANewName)
{
    std::string folder = MakeFolder("save");
    File->OpenDialog = false;
    File->Title = "Save Script";
    gui::DialogAnswerer answer("Save Script", [&](HWND dialog) {
        gui::SetText(FileNameEdit(dialog), folder + "\\convert.bat");
        gui::PressDialogButton(dialog, IDOK);
    });
    EXPECT_TRUE(RunFileDialog(File));
    ASSERT_TRUE(answer.Wait());
    EXPECT_EQ(folder + "\\convert.bat", File->FileName.CStr());
}

// The folder is one that nothing changes while the test runs: the dialog
// rebuilds parts of its tree when the shell reports changes in a folder.
TEST_F(DialogTest, FolderChosenInTheTreeIsReturned)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string folder = windows;
    TFolderDialog* dialog = NewFolderDialog("Select a DVD Flick Folder", 0);
    Form->AddOwned(dialog);
    auto findPrompt = [] { return gui::FindTopLevelWindowShowing("Select a DVD Flick Folder"); };

    gui::DialogAnswerer cancel(findPrompt, [](HWND d) { gui::PressDialogButton(d, IDCANCEL); });
    EXPECT_FALSE(RunFolderDialog(dialog));
    ASSERT_TRUE(cancel.Wait());
    EXPECT_TRUE(FolderPath(dialog).IsEmpty());

    HWND owner = nullptr;
    gui::DialogAnswerer choose(findPrompt, [&](HWND d) {
        owner = GetWindow(d, GW_OWNER);
        SelectFolder(d, folder);
        gui::PressDialogButton(d, IDOK);
    });
    EXPECT_TRUE(RunFolderDialog(dialog));
    ASSERT_TRUE(choose.Wait());
    EXPECT_EQ(folder, FolderPath(dialog).CStr());
    EXPECT_EQ(Form->Handle, owner);

    gui::DialogAnswerer cancelAgain(findPrompt, [&](HWND d) { gui::PressDialogButton(d, IDCANCEL); });
    EXPECT_FALSE(RunFolderDialog(dialog));
    ASSERT_TRUE(cancelAgain.Wait());
    EXPECT_EQ(folder, FolderPath(dialog).CStr());   // the last choice stays
}

TEST_F(FormTest, MessageBoxHasTheMainCaptionAndOnlyOk)
{
    HWND owner = (HWND)1;
    std::vector<std::string> buttons;
    std::string text;
    gui::DialogAnswerer notice("Wol Test Form", [&](HWND box) {
        owner = GetWindow(box, GW_OWNER);
        for (HWND button : gui::VisibleButtons(box))
            buttons.push_back(gui::WindowText(button));
        text = gui::WindowText(gui::FindDescendant(box, "Static", "Input file already added."));
        gui::PressDialogButton(box, IDOK);
    });
    ShowMessage("Input file already added.");
    ASSERT_TRUE(notice.Wait());
    EXPECT_EQ(nullptr, owner);
    EXPECT_EQ(std::vector<std::string>{"OK"}, buttons);
    EXPECT_EQ("Input file already added.", text);

    gui::DialogAnswerer question("Wol Test Form", [](HWND box) { gui::PressDialogButton(box, IDNO); });
    EXPECT_EQ(IDNO, MessageBox("Overwrite?", MB_YESNO));
    ASSERT_TRUE(question.Wait());
}

