#pragma once
// minizip file functions that read through a handle the caller keeps open,
// so that the archive is read from the very file that was written, with no
// second open that another program could race.

#include <windows.h>

#include <ioapi.h>

// Fills functions so that every "open" reads through file (which must have
// read access); the archive name passed to unzOpen2_64 is not used to open
// anything. Closing the archive leaves file open: it stays the caller's.
void FillHandleFileFunctions(zlib_filefunc64_def* functions, HANDLE file);
