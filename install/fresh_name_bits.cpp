#include "install/fresh_name_bits.h"

#include <windows.h>
#include <ntsecapi.h>

unsigned long long FreshNameBits()
{
    unsigned long long bits = 0;
    if (!RtlGenRandom(&bits, sizeof(bits))) {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        bits = static_cast<unsigned long long>(counter.QuadPart) ^
               (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^ GetTickCount();
    }
    return bits;
}
