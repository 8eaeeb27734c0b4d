#pragma once
// What both benchmarks need: a clock, and the tests' way to clear an output
// folder (RemoveTree).

#include <windows.h>

#include "wine_test_util.h"

#include <string>

// Seconds on the performance counter.
inline double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
