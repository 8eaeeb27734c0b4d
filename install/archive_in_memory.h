#pragma once
// minizip file functions that read the archive the program carries straight
// from its resource in memory: no system call per read. The temporary archive
// is written beside it, but nothing is read from that file.

#include <ioapi.h>

// The archive's bytes; they must outlive every archive opened over them.
struct ArchiveInMemory {
    const void* bytes;
    ZPOS64_T size;
};

// Fills functions so that every "open" for reading reads source; the archive
// name passed to unzOpen2_64 is not used to open anything. Each open has a
// position of its own, so two readers may share source.
void FillMemoryFileFunctions(zlib_filefunc64_def* functions, const ArchiveInMemory* source);
