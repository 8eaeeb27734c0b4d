#pragma once
// File work split over threads. Each create, rename and close of a file waits
// in the kernel, the longer when a virus scanner checks the file as it is
// created and closed; while one thread waits the others go on, and a second
// core inflates while the first writes. Not for registry writes: each is a
// kernel call of microseconds under its hive's lock, and threads would only
// make their order differ from run to run. Measured: bench/README.md.

#include "platform/scoped_handle.h"

#include <cstddef>

// A thread running start(parameter); an invalid guard when none could be made.
ScopedHandle StartThread(LPTHREAD_START_ROUTINE start, void* parameter);

// Waits until thread has ended; its exit code, or 0 when that cannot be had.
// It never returns while the thread may still run: a thread works on its
// starter's stack, so a wait that fails ends the process instead.
DWORD WaitForThread(HANDLE thread);

// Raised by one thread, read by the others: each access a full barrier
// (Interlocked), not a plain volatile read that the processor may answer
// from an old value or reorder around the work it guards.
class StopFlag {
public:
    void Raise() { InterlockedExchange(&value_, 1); }
    bool Raised() { return InterlockedCompareExchange(&value_, 0, 0) != 0; }

private:
    volatile LONG value_ = 0;
};

constexpr int kMaxWorkParts = 4;

using PartWork = void (*)(void* context, size_t first, size_t end);

// Runs work over [0, count) in up to parts (at most kMaxWorkParts) pieces in
// order, the first on the calling thread and each other on a thread of its
// own; a piece whose thread cannot be made runs on the calling thread.
// Returns when every piece is done. The pieces must not depend on each other.
void WorkInParts(PartWork work, void* context, size_t count, int parts);
