// The folder dialog, answered from a helper thread as a user would.
#include "WolTestSupport.h"

#include "wol/Dialogs.h"

#include <thread>

using Dialogs = WolTest;

// The main window owns it. Offered virtual folders too, the dialog lets "My
// Computer" be chosen, which has no path: that counts as a cancel, and the last
// choice stays.
TEST_F(Dialogs, AFolderWithoutAPathCountsAsACancel)
{
    Show();
    const char* const windows = "C:\\windows";
    TFolderDialog* folder = NewFolderDialog("Select a DVD Flick Folder", 0);
    Form->AddOwned(folder);
    HWND owner = nullptr;
    for (const char* path : {windows, "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"}) {
        std::thread user([&] {
            const gui::Dialog dialog = gui::WaitForDialog(GetCurrentProcessId(), nullptr, "Select a DVD Flick Folder");
            owner = GetWindow(dialog.Window, GW_OWNER);
            gui::ChooseFolder(dialog, path);
        });
        EXPECT_EQ(RunFolderDialog(folder), path == windows);
        user.join();
        EXPECT_EQ(FolderPath(folder), windows);
        EXPECT_EQ(owner, Form->Handle);
        folder->Options = 1 << 2;
    }
}
