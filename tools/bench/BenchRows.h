// Names of the browser windows the benchmarks list, shared by the bare
// dialog program and the benchmark that starts it.
#pragma once
#include <string>
#include <vector>

// The rows both start-up programs show.
inline std::vector<std::string> StartupRowNames()
{
    return { "Alpha 首页", "北京新闻", "Charlie", "天气预报" };
}
