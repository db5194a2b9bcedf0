// What every benchmark shares: a clock, samples with their median, and the
// report of figures against their targets.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Milliseconds on the performance counter.
double NowMs();

struct Samples {
    std::vector<double> values;
    void Add(double v) { values.push_back(v); }
    double Median() const;
    double Min() const;
    double Max() const;
};

// "12.34 ms [min 11.00, max 15.20]", scaled by `scale` and followed by `unit`.
std::string Describe(const Samples& s, const char* unit, double scale = 1.0);

// One line of the summary: a measured value against its target.
struct Figure {
    std::string name;
    std::string value;   // as printed, e.g. "1.12"
    std::string target;  // e.g. "<= 1.5"
    bool met;
};

class Report {
public:
    // Prints the figure's line at once and keeps it for the summary.
    void Add(const std::string& name, const std::string& value, const std::string& target, bool met);
    void AddRatio(const std::string& name, double ratio, double limit);
    // Prints the summary table; true if every target was met.
    bool Summarise() const;
private:
    std::vector<Figure> m_figures;
};

// printf to stdout, flushed: Wine passes the output through a pipe.
void Print(const char* fmt, ...);
std::string Format(const char* fmt, ...);

// Names of rows used by the in-process benchmarks.
std::wstring RowName(int i);

// Where the program, the bare dialog and the fake Shell DLL are.
struct BenchPaths {
    std::string veskar, bare, fakeshell, workDir;
};

void RunStartupBench(Report& report, const BenchPaths& paths);
void RunPaintBench(Report& report);
void RunRowsBench(Report& report);
void RunResourceBench(Report& report);
void RunIdleBench(Report& report);
