// Timing for the benchmarks: a high-resolution clock and the median of repeated measurements.
#ifndef PEERIX_TEST_TIMING_H
#define PEERIX_TEST_TIMING_H

#include <vector>

namespace timing {

// Seconds from an arbitrary origin, from the performance counter.
double Now();
// The median of a set of measurements (the upper one of an even count).
double Median(std::vector<double> values);

}  // namespace timing

#endif
