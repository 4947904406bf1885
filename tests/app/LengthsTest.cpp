// The lengths of the listed videos, read with the encoder in the background, and
// what their total means for the two discs.
#include "app/AppTest.h"

using Lengths = AppTest;

// True when the control shows a pure red pixel on the screen.
static bool ShowsRed(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    const LONG width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen);
    HGDIOBJ bitmap = SelectObject(copy, CreateCompatibleBitmap(screen, width, height));
    BitBlt(copy, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    bool red = false;
    for (LONG i = 0; i < width * height && !red; ++i)
        red = GetPixel(copy, i % width, i / width) == RGB(255, 0, 0);
    DeleteObject(SelectObject(copy, bitmap));
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return red;
}

// Without an encoder the line says where it is missing; choosing a folder with one
// reads the unknown lengths again; "Duration: N/A" is unknown. A file removed while
// it is read is forgotten and the reading goes on. A label of a disc the list does
// not fit is red. Killed while reading, the program leaves no encoder running.
TEST_F(Lengths, AreReadSummedUpAndComparedWithTheDiscs)
{
    const auto line = [&](const std::string& text) { gui::Require(text, [&] { return Text(LengthsLabel) == text; }); };
    const auto red = [&](bool red43, bool red85) { gui::Require("the labels' colours", [&] {
        return ShowsRed(Ctl(Dvd43Label)) == red43 && ShowsRed(Ctl(Dvd85Label)) == red85; }); };
    EXPECT_EQ(Text(LengthsLabel), "");
    const std::string a = MakeFile("a.avi", "Duration: 01:30:00.50"), b = MakeFile("b.avi", "Duration: N/A"),
                      c = MakeFile("c-held.avi", "Duration: 02:00:00.00"), d = MakeFile("d-held.avi"),
                      e = MakeFile("e.avi", "Duration: 00:30:00.00"), flick = MakeFolder("Flick");
    DropFiles({a});
    line("Lengths unknown: no ffmpeg.exe in C:\\Program Files\\DVD Flick\\");
    InstallEncoder(flick);
    gui::Click(Ctl(ChangeFlickPathButton));
    gui::ChooseFolder(gui::WaitForDialog(ProcessId, nullptr, "Select a DVD Flick Folder"), flick);
    line("1 file, 1 Hr 30 min 0 sec: DVD 4,3 GB up to 5922 kBits, DVD 8,5 GB up to 9000 kBits.");
    red(true, false);
    const std::string hold = MakeFile("ffmpeg.log.hold");
    DropFiles({b, c});
    line("Reading lengths: 2 of 3 files...");
    ClickItem(2);
    gui::Key(VK_DELETE);
    line("2 files, 1 Hr 30 min 0 sec: DVD 4,3 GB up to 5922 kBits, DVD 8,5 GB up to 9000 kBits. "
         "(1 file of unknown length not counted)");
    DeleteFileA(hold.c_str());
    DropFiles({e});   // read once the reading of the removed file is over
    line("3 files, 2 Hr 0 min 0 sec: DVD 4,3 GB up to 4329 kBits, DVD 8,5 GB up to 8996 kBits. "
         "(1 file of unknown length not counted)");
    DropFiles({c});
    line("4 files, 4 Hr 0 min 0 sec: DVD 4,3 GB up to 1940 kBits, DVD 8,5 GB up to 4274 kBits. "
         "(1 file of unknown length not counted)");
    red(true, true);
    StepComboTo(BitrateCombo, 2);
    red(true, false);
    MakeFile("ffmpeg.log.hold");
    DropFiles({d});
    line("Reading lengths: 4 of 5 files...");
    gui::Require("the encoder to run in its job", [&] { return Running("ffmpeg.exe", 0, true) != 0; });
    TerminateProcess(Process, 1);
    gui::Require("no encoder left", [&] { return !Running("ffmpeg.exe"); });
}
