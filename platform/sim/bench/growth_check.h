#pragma once
// Runs the registered benchmarks and checks how their time grows: for each
// benchmark run at an input n and at 4n, the time at 4n may be at most
// kMaxGrowth times the time at n (linear work gives 4, quadratic 16). Times are
// CPU times, the least of a benchmark's repetitions, which run interleaved.

namespace kavlo::bench {

inline constexpr double kMaxGrowth = 5.0;

/// Runs the benchmarks named on the command line; 0 when every growth is within
/// kMaxGrowth, 1 otherwise.
int RunWithGrowthCheck(int argc, char** argv);

}  // namespace kavlo::bench
