#pragma once
// Timing helpers for benchmarks on a shared machine.
#include <algorithm>
#include <ctime>
#include <vector>

// Thread CPU time, so that other work on the machine does not count.
inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The middle value (the upper one of an even count); 0 for none. A burst of other work on
// the machine moves a mean, hardly a median.
inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}
