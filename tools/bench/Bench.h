// What the benchmarks share: samples and their median, the report of
// figures against their targets (printed again as a table at the end), and
// the main dialog over fakes from the tests' harness. Each figure is a
// GoogleTest case that fails when its target is missed.
#pragma once
#include "Driver.h"
#include "MainDialog.h"
#include <cstdlib>
#include <string>
#include <vector>

double NowMs();  // on the performance counter
std::string Format(const char* fmt, ...);
void Print(const char* fmt, ...);  // flushed: Wine passes the output through a pipe
SIZE_T PrivateBytes();

struct Samples {
    std::vector<double> values;
    double Median() const;
    // "12.34 ms [min 11.00, max 15.20]", scaled by `scale`.
    std::string Describe(const char* unit, double scale = 1.0) const;
};

// One figure: printed at once, kept for the table, and a failure of the
// running test when its target is missed.
void Report(const std::string& name, const std::string& value, const std::string& target, bool met);
void ReportRatio(const std::string& name, double ratio, double limit);

// Every benchmark is a case of this fixture: the program's main dialog,
// created on demand, over browsers of the fake collection.
class Bench : public MainDialogTest {
protected:
    // Browsers named 页面 0, 页面 1, ...
    void AddRows(int n)
    {
        for (int i = 0; i < n; ++i)
            shell.Add((L"页面 " + std::to_wstring(i)).c_str(), "b");
    }
};

// A program named by run-bench.sh in the environment, as a Windows path.
inline std::string PathOf(const char* name) { const char* v = std::getenv(name); return ToWindowsPath(v ? v : ""); }
