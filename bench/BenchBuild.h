// What every benchmark shares: which build it measured (the 32-bit and the 64-bit program
// differ in figures), a clock, processor time, and the median of repeated runs.
#pragma once
#include <windows.h>
#include <algorithm>
#include <vector>

inline const char* BuildWidth() { return sizeof(void*) == 8 ? "64-bit build" : "32-bit build"; }

namespace bench {

// The performance counter in seconds.
inline double Seconds()
{
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(freq.QuadPart);
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Processor time in milliseconds, of this process (its helper threads included) or of the
// calling thread alone: what other programs on a shared machine do adds to the clock but not
// to these.
inline double CpuMs(bool threadOnly = false)
{
    FILETIME created, exited, kernel, user;
    if (threadOnly) GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    else GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto v = [](FILETIME f) { return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    return (v(kernel) + v(user)) / 10000.0;
}

}  // namespace bench
