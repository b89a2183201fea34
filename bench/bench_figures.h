#pragma once

// What the timing programs share: milliseconds since a moment, the median and
// spread of a series, and stopping with a reason.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kvt::bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

struct Figures {
    double median, low, high;
};

inline Figures Summary(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

[[noreturn]] inline void Fail(const char* program, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", program, why.c_str());
    std::exit(1);
}

}  // namespace kvt::bench
