// bench_bare.exe: the main dialog's template as a plain dialog, started and
// measured from outside exactly as the program is.
#include "../BenchRows.h"
#include "../PlainDialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return (int)RunPlainDialog(StartupRowNames());
}
