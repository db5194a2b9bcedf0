// bench_bare.exe: the main dialog's template as a plain dialog, started and
// measured from outside exactly as the program is.
#include "../PlainDialog.h"
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
    return (int)RunPlainDialog(StartupRows());
}
