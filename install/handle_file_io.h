#pragma once
// minizip file functions that read through a handle the caller keeps open,
// so that the archive is read from the very file that was written, with no
// second open that another program could race.

#include <windows.h>

#include <ioapi.h>

// What the streams read: the file, or when copy is set, the file's size bytes
// still in memory (all of them written to file), read without a system call.
struct HandleSource {
    HANDLE file;
    const void* copy;
    ZPOS64_T size;
};

// Fills functions so that every "open" reads from source (whose file must
// have read access); the archive name passed to unzOpen2_64 is not used to
// open anything. Closing the archive leaves the file open: it stays the
// caller's, as does source, which must outlive the archive.
void FillHandleFileFunctions(zlib_filefunc64_def* functions, const HandleSource* source);
