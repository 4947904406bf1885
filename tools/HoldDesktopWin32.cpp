// Keeps Wine's default desktop in use while the Windows tests run. Wine closes a
// desktop a second after the last program on it has ended and starts it again for
// the next one, so without a program that stays, the desktop's start falls inside
// a test and a program that arrives while it closes can lose its window. This one
// joins the desktop and waits until the wineserver ends it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
