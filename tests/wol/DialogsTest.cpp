// The real common dialogs and message box, found by their titles and answered from
// a helper thread as a user would: typing a file name, picking a folder, pressing
// the buttons.
#include "WolTestSupport.h"

#include "wol/Dialogs.h"

#include <thread>

namespace {

using Dialogs = WolTest;
using Texts = std::vector<std::string>;

// Runs run() while a helper thread, as the user, answers the dialog titled title
// and showing showing (each when given) with answer; gives run()'s result.
template <class Run>
auto Answered(const char* title, const char* showing, const std::function<void(const gui::Dialog&)>& answer, Run run)
{
    std::thread user([&] { answer(gui::WaitForDialog(GetCurrentProcessId(), title, showing)); });
    const auto result = run();
    user.join();
    return result;
}

}

TEST_F(Dialogs, AFileTypedIntoTheOpenDialogIsChosenAndACancelClearsIt)
{
    Show();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "clip one.avi";
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    TFileDialog* file = NewFileDialog("Select a Video File", "", 0);
    Form->AddOwned(file);
    file->Filter = "Videos|*.avi;*.mpg|All Files|*.*";
    file->FilterIndex = 2;
    HWND owner = nullptr;
    Texts types;
    bool readOnlyShown = true;
    const auto run = [&] { return RunFileDialog(file); };
    EXPECT_TRUE(Answered("Select a Video File", nullptr, [&](const gui::Dialog& dialog) {
        owner = GetWindow(dialog.Window, GW_OWNER);
        types = gui::Items(GetDlgItem(dialog.Window, 1136));   // the file types
        types.push_back(gui::Text(GetDlgItem(dialog.Window, 1136)));
        readOnlyShown = IsWindowVisible(GetDlgItem(dialog.Window, 1040));
        gui::ChooseFile(dialog, path);
    }, run));
    EXPECT_EQ(file->FileName, path.c_str());
    EXPECT_EQ(owner, Form->Handle) << "the main window owns it";
    EXPECT_EQ(types, Texts({"Videos", "All Files", "All Files"}));
    EXPECT_FALSE(readOnlyShown);

    std::string shownName;
    EXPECT_FALSE(Answered("Select a Video File", nullptr, [&](const gui::Dialog& dialog) {
        shownName = gui::Text(GetDlgItem(dialog.Window, 1148));   // the file name
        gui::Press(dialog, "Cancel");
    }, run));
    EXPECT_EQ(shownName, "clip one.avi");
    EXPECT_TRUE(file->FileName.IsEmpty());
    EXPECT_EQ(file->FilterIndex, 2);
    DeleteFileA(path.c_str());
}

// The folder is one that nothing changes while the test runs: the dialog rebuilds
// parts of its tree when the shell reports changes in a folder.
TEST_F(Dialogs, AFolderChosenStaysOverACancelAndAMessageBoxIsModalToTheMainWindow)
{
    Show();
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const char* const title = "Select a DVD Flick Folder";
    TFolderDialog* folder = NewFolderDialog(title, 0);
    Form->AddOwned(folder);
    const auto run = [&] { return RunFolderDialog(folder); };
    HWND owner = nullptr;
    EXPECT_TRUE(Answered(nullptr, title, [&](const gui::Dialog& dialog) {
        owner = GetWindow(dialog.Window, GW_OWNER);
        gui::ChooseFolder(dialog, windows);
    }, run));
    EXPECT_EQ(FolderPath(folder), windows);
    EXPECT_EQ(owner, Form->Handle);
    EXPECT_FALSE(Answered(nullptr, title, [](const gui::Dialog& dialog) { gui::Press(dialog, "Cancel"); }, run));
    // Offered virtual folders too, the dialog lets "My Computer" be chosen, which has
    // no path: that counts as a cancel.
    folder->Options = 1 << 2;
    EXPECT_FALSE(Answered(nullptr, title, [](const gui::Dialog& dialog) { gui::ChooseFolder(dialog, ""); }, run));
    EXPECT_EQ(FolderPath(folder), windows) << "the last choice stays";

    gui::Dialog shown;
    Answered("Wol Test Form", nullptr, [&](const gui::Dialog& box) {
        owner = GetWindow(box.Window, GW_OWNER);
        shown = box;
        gui::Press(box, "OK");
    }, [] { ShowMessage("Input file already added."); return 0; });
    EXPECT_EQ(owner, Form->Handle) << "modal to the main window";
    EXPECT_EQ(shown.Text, "Input file already added.");
    EXPECT_EQ(shown.Buttons, Texts{"OK"});
}
