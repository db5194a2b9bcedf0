/* Holds the Wine desktop open for a whole test session (see with-wine.sh):
   a message-only window attaches the process to the desktop without
   showing anything, and the loop waits until the session's wineserver
   ends it. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show)
{
    MSG msg;
    (void)previous;
    (void)command;
    (void)show;
    if (!CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, instance, NULL))
        return 1;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
