// veskar_bench.exe: benchmarks of the whole program under the platform it
// runs on. Each figure is a ratio measured side by side in this run, printed
// with its target; the exit code is 1 when a target is not met.
//
//   veskar_bench <veskar.exe> <bench_bare.exe> <fakeshell.dll> [figure...]
//
// Figures: startup paint rows resources idle (all when none is named).
// Paths may be Unix paths; they are turned into the platform's own.
#include "Report.h"
#include <commctrl.h>
#include <cstring>
#include <set>

namespace {

std::string ToWindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    // Under Wine a Unix path names a file too; the DOS form is what the
    // registry entry and CreateProcess need.
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos) {
        if (WCHAR* w = toDos(path.c_str())) {
            char buf[MAX_PATH * 2];
            int n = ::WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
            ::HeapFree(::GetProcessHeap(), 0, w);
            if (n > 0)
                return buf;
        }
    }
    return path;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        Print("usage: veskar_bench <veskar.exe> <bench_bare.exe> <fakeshell.dll> [startup|paint|rows|resources|idle]...\n");
        return 2;
    }
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);

    BenchPaths paths;
    paths.veskar = ToWindowsPath(argv[1]);
    paths.bare = ToWindowsPath(argv[2]);
    paths.fakeshell = ToWindowsPath(argv[3]);
    char temp[MAX_PATH] = ".";
    ::GetTempPathA(MAX_PATH, temp);
    paths.workDir = temp;
    if (!paths.workDir.empty() && paths.workDir.back() == '\\')
        paths.workDir.pop_back();

    std::set<std::string> only(argv + 4, argv + argc);
    auto wanted = [&](const char* name) { return only.empty() || only.count(name) > 0; };

    Print("Veskar benchmarks: each figure is measured side by side in this run; medians of repeated runs\n");
    const double start = NowMs();
    Report report;
    if (wanted("startup"))
        RunStartupBench(report, paths);
    if (wanted("paint"))
        RunPaintBench(report);
    if (wanted("rows"))
        RunRowsBench(report);
    if (wanted("resources"))
        RunResourceBench(report);
    if (wanted("idle"))
        RunIdleBench(report);
    const bool met = report.Summarise();
    Print("benchmark time: %.0f s\n", (NowMs() - start) / 1000);
    return met ? 0 : 1;
}
