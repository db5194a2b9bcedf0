#include "Report.h"
#include <algorithm>
#include <cstdarg>
#include <cstdio>

double NowMs()
{
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; ::QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)freq.QuadPart;
}

double Samples::Median() const
{
    if (values.empty())
        return 0;
    std::vector<double> v = values;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Samples::Min() const
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double Samples::Max() const
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

std::string Describe(const Samples& s, const char* unit, double scale)
{
    return Format("%9.3f %s [min %.3f, max %.3f]", s.Median() * scale, unit, s.Min() * scale, s.Max() * scale);
}

void Print(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::vprintf(fmt, args);
    va_end(args);
    std::fflush(stdout);
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

std::wstring RowName(int i)
{
    return L"页面 " + std::to_wstring(i);
}

void Report::Add(const std::string& name, const std::string& value, const std::string& target, bool met)
{
    m_figures.push_back({ name, value, target, met });
    Print("   => %s: %s, target %s: %s\n", name.c_str(), value.c_str(), target.c_str(), met ? "met" : "NOT met");
}

void Report::AddRatio(const std::string& name, double ratio, double limit)
{
    Add(name, Format("%.2f", ratio), Format("<= %.1f", limit), ratio <= limit);
}

bool Report::Summarise() const
{
    bool all = true;
    Print("\n%-40s %-30s %-14s %s\n", "figure", "measured", "target", "result");
    for (const Figure& f : m_figures) {
        Print("%-40s %-30s %-14s %s\n", f.name.c_str(), f.value.c_str(), f.target.c_str(),
              f.met ? "met" : "NOT met");
        all = all && f.met;
    }
    Print("\n%s\n", all ? "all targets met" : "SOME TARGETS NOT MET");
    return all;
}
