#include "app/AppTest.h"

#include <process.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

// The program ends first (the open-file dialog may have made the scratch folder its working
// folder) and a held encoder is let go; its script may still hold files a moment: retried.
// Under Wine an encoder whose starter was ended while starting it waits for ever, in its
// folder: no test's encoder outlives the test.
static void RemoveLeftovers(HANDLE program)
{
    TerminateProcess(program, 255);
    WaitForSingleObject(program, INFINITE);
    DeleteFileA((EncoderLog + std::string(".hold")).c_str());
    for (const char* path : {"C:\\spindrel-e2e", "C:\\convert.bat", "C:\\convert.log", "C:\\*.m2v", "C:\\Program Files\\DVD Flick",
                             PortableSettings.c_str()})
        gui::Require(std::string("the removal of ") + path, [&] {
            for (DWORD id; (id = Running("ffmpeg.exe")) != 0;) {
                const HANDLE encoder = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
                if (!encoder || !TerminateProcess(encoder, 255) || WaitForSingleObject(encoder, INFINITE) || !CloseHandle(encoder))
                    break;
            }
            const std::string from = path + std::string(1, '\0');   // a list of one, ended by a second NUL
            SHFILEOPSTRUCTA remove = {nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NO_UI};
            SHFileOperationA(&remove);
            return !AppTest::Exists(path);
        });
}

void AppTest::SetUp()
{
    RemoveLeftovers(nullptr);
    MakeFolder("AppData");
    // The encoder inherits it through the program and the script's interpreter.
    SetEnvironmentVariableA("FAKE_FFMPEG_LOG", EncoderLog);
    SetEnvironmentVariableA("APPDATA", AppData);
    Launch();
}

void AppTest::Launch()
{
    TerminateProcess(Process, 255);
    WaitForSingleObject(Process, INFINITE);
    CloseHandle(Process);
    Process = (HANDLE)_spawnl(_P_NOWAIT, SPINDREL_EXE_PATH, SPINDREL_EXE_PATH, nullptr);
    ProcessId = GetProcessId(Process);
    gui::Require("the main window", [&] { return (Main = gui::TopLevel(ProcessId, nullptr, "Spindrel")) != nullptr; });
}

DWORD AppTest::Close()
{
    PostMessageA(Main, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = STILL_ACTIVE;
    gui::Require("the program to end", [&] { return GetExitCodeProcess(Process, &code) && code != STILL_ACTIVE; });
    return code;
}

void AppTest::TearDown()
{
    RemoveLeftovers(Process);
    CloseHandle(Process);
}

void AppTest::StartConversion() const
{
    gui::Click(Ctl(StartButton));
    gui::Require("the window to be minimised", [&] { return Minimised(); });
    // The script's console window takes the activation as it shows: later clicks wait for it.
    gui::Require("the script's console window", [&] { return gui::TopLevel(0, "WineConsoleClass") || !HasItsProcesses(); });
}

// The dialog offers the one file type the program gives it, and no read-only box.
void AppTest::AddVideoFile(const std::string& path) const
{
    gui::Click(Ctl(AddFileButton));
    const gui::Dialog dialog = gui::WaitForDialog(ProcessId, "Select a Video File");
    EXPECT_EQ(gui::Items(GetDlgItem(dialog.Window, 1136)), Texts{"All Files"});
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.Window, 1040)));
    gui::ChooseFile(dialog, path);
}

// The receiving process reads a drop's record (paths in UTF-16, as Windows and Wine's
// X11 drops give them), so it is written into the program's own memory.
void AppTest::DropFiles(const Texts& paths) const
{
    DROPFILES header = {};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::string drop((const char*)&header, sizeof header);
    for (const std::string& path : paths)
        for (char c : path + '\0')
            drop.append({c, '\0'});
    drop.append(2, '\0');
    void* remote = VirtualAllocEx(Process, nullptr, drop.size(), MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(WriteProcessMemory(Process, remote, drop.data(), drop.size(), nullptr));
    PostMessageA(Main, WM_DROPFILES, (WPARAM)remote, 0);
}

void AppTest::ClickItem(int index, bool ctrl) const
{
    const LONG height = (LONG)SendMessageA(Ctl(FileList), LB_GETITEMHEIGHT, 0, 0);
    gui::Click(Ctl(FileList), ctrl, 1, {8, height * index + height / 2});
}

void AppTest::StepComboTo(ControlId id, int index) const
{
    HWND combo = Ctl(id);
    gui::Click(combo);
    gui::Require("the focus in the combo box", [&] { return gui::HasFocus(combo); });
    for (int now; (now = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0)) != index;) {
        gui::Key(now < index ? VK_DOWN : VK_UP);
        gui::Require("the selection to move", [&] { return SendMessageA(combo, CB_GETCURSEL, 0, 0) != now; });
    }
}

std::string AppTest::AnswerMessageBox() const
{
    const gui::Dialog box = gui::WaitForDialog(ProcessId, "Spindrel");
    EXPECT_EQ(box.Buttons, Texts{"OK"}) << box.Text;
    gui::Press(box, "OK");
    return box.Text;
}

Texts AppTest::RequireEncoderCalls(size_t count) const
{
    Texts lines;
    gui::Require("the encoder to be called " + std::to_string(count) + " times",
                 [&] { return (lines = Lines(ReadFile(EncoderLog))).size() >= 2 * count; });
    return lines;
}

std::string AppTest::MakeFolder(const std::string& relativePath)
{
    std::string path = "C:\\spindrel-e2e\\" + relativePath;
    path.erase(path.find_last_not_of('\\') + 1);
    SHCreateDirectoryExA(nullptr, path.c_str(), nullptr);
    return path;
}

std::string AppTest::MakeFile(const std::string& relativePath, const std::string& content)
{
    MakeFolder(relativePath.substr(0, relativePath.rfind('\\') + 1));
    std::ofstream("C:\\spindrel-e2e\\" + relativePath, std::ios::binary) << content;
    return "C:\\spindrel-e2e\\" + relativePath;
}

void AppTest::InstallEncoder(const std::string& folder)
{
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(FAKE_FFMPEG_PATH, (folder + "\\ffmpeg.exe").c_str(), FALSE));
}

std::string AppTest::ReadFile(const std::string& path)
{
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

Texts AppTest::Lines(const std::string& text)
{
    Texts lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}
