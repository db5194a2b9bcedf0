// The program's entry: the application object and WinMain.
#include "app/RefreshApp.h"

CRefreshApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return AppWinMain(hInstance);
}
