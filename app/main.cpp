// The program's entry: the application object and WinMain.
#include "app/RefreshApp.h"

CRefreshApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return AppWinMain();
}
