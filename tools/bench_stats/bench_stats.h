#pragma once
// What every bench takes of its paired runs: their median, and the load the machine was under.

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <vector>

namespace bench {

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The one-minute load average, or -1 where /proc does not tell it.
inline double LoadAverage() {
    std::ifstream file("/proc/loadavg");
    double load = -1;
    file >> load;
    return load;
}

}  // namespace bench
