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
DWORD WaitForThread(HANDLE thread);

constexpr int kMaxWorkParts = 4;

using PartWork = void (*)(void* context, size_t first, size_t end);

// Runs work over [0, count) in up to parts (at most kMaxWorkParts) pieces in
// order, the first on the calling thread and each other on a thread of its
// own; a piece whose thread cannot be made runs on the calling thread.
// Returns when every piece is done. The pieces must not depend on each other.
void WorkInParts(PartWork work, void* context, size_t count, int parts);
