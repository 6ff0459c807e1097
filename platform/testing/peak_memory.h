#pragma once
// Benchmark support: the process's peak resident memory, which the benchmarks report
// beside their times (they run on POSIX hosts only).

#include <sys/resource.h>

namespace kavlo::testing {

/// The high-water mark of resident memory in KiB since the process started.
inline double PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss);  // KiB on Linux
}

}  // namespace kavlo::testing
