#include "Bench.h"
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <psapi.h>

double NowMs()
{
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; ::QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)freq.QuadPart;
}

std::string Format(const char* fmt, ...)
{
    char text[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    return text;
}

void Print(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::vprintf(fmt, args);
    va_end(args);
    std::fflush(stdout);
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX c = { sizeof c };
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&c, sizeof c) && c.PrivateUsage)
        return c.PrivateUsage;
    // Wine 8 reports 0: the committed private memory is counted instead.
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION m;
    for (BYTE* p = nullptr; ::VirtualQuery(p, &m, sizeof m) == sizeof m; p = (BYTE*)m.BaseAddress + m.RegionSize)
        total += m.State == MEM_COMMIT && m.Type == MEM_PRIVATE ? m.RegionSize : 0;
    return total;
}

double Samples::Median() const
{
    std::vector<double> v = values;
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string Samples::Describe(const char* unit, double scale) const
{
    auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return values.empty() ? "no samples"
                          : Format("%9.3f %s [min %.3f, max %.3f]", Median() * scale, unit, *lo * scale, *hi * scale);
}

namespace {

struct Figure {
    std::string name, value, target;
    bool met;
};
std::vector<Figure> g_figures;

// Opens the run, and prints the table of every figure at its end.
class Summary : public testing::Environment {
    void SetUp() override
    {
        Print("Veskar benchmarks: each figure is measured side by side in this run; medians of repeated runs\n");
    }
    void TearDown() override
    {
        bool all = true;
        Print("\n%-40s %-30s %-14s %s\n", "figure", "measured", "target", "result");
        for (const Figure& f : g_figures) {
            const char* result = f.met ? "met" : "NOT met";
            Print("%-40s %-30s %-14s %s\n", f.name.c_str(), f.value.c_str(), f.target.c_str(), result);
            all = all && f.met;
        }
        Print("\n%s\n", all ? "all targets met" : "SOME TARGETS NOT MET");
    }
};
testing::Environment* const g_summary = testing::AddGlobalTestEnvironment(new Summary);

}  // namespace

void Report(const std::string& name, const std::string& value, const std::string& target, bool met)
{
    g_figures.push_back({ name, value, target, met });
    Print("   => %s: %s, target %s: %s\n", name.c_str(), value.c_str(), target.c_str(), met ? "met" : "NOT met");
    EXPECT_TRUE(met) << name;
}

void ReportRatio(const std::string& name, double ratio, double limit)
{
    Report(name, Format("%.2f", ratio), Format("<= %.1f", limit), ratio <= limit);
}
