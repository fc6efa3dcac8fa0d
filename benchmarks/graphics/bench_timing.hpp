// Timing helpers shared by the benchmarks: processor and wall clocks, the median
// processor time of repeated runs, and the median of measured times.
#ifndef VOLLO_BENCH_TIMING_HPP
#define VOLLO_BENCH_TIMING_HPP

#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double cpu_seconds()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

inline double wall_seconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Median CPU time of one run of `work`, in milliseconds.
inline double median_ms(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
    {
        double start = cpu_seconds();
        work();
        times.push_back((cpu_seconds() - start) * 1e3);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Milliseconds of the steady clock since `start`.
inline double milliseconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The middle one of `values`, or -1 when there are none.
inline double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif
