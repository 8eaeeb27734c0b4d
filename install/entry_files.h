#pragma once
// File-system steps for one extracted entry.

// No memory, as the unzip library's UNZ_INTERNALERROR says it.
constexpr int kDirectoryNoMemory = -104;

// Creates path and every missing folder above it ("\" or "/" separated).
// Returns 1 when the folder exists at the end, 0 when path is empty or a
// part cannot be created because its parent is missing, kDirectoryNoMemory
// when no memory could be had for the working copy.
int MakeDirectoryPath(const wchar_t* path);

// Sets the creation and last-write time of the file to a DOS date/time (date
// in the upper 16 bits, local time), keeping its last-access time. A file
// that cannot be opened keeps its times.
void SetFileTimeFromDos(const wchar_t* fileName, unsigned long dosDateTime);

// The same through a handle the caller has open with write access: the
// creation and last-write time are set, the last-access time is left as it
// is. Returns false when the system refuses.
bool StampFileTimeFromDos(void* file, unsigned long dosDateTime);

// Sets the creation time alone, through a handle with write access.
void RestampCreationTime(void* file, unsigned long dosDateTime);
