#pragma once
// Unpacking an open archive, or one read through given file functions.

#include <windows.h>

#include "platform/work_in_parts.h"

#include <ioapi.h>
#include <unzip.h>

// Told of each product file that could not be written or take its name
// (held open by another program, running, a folder or a link in its place,
// a link or a file in the way of its folder), which undid the whole
// unpacking: its full path.
class FileNotReplaced {
public:
    virtual void Report(const wchar_t* path) = 0;

protected:
    ~FileNotReplaced() = default;
};

// The archive's copy into a file, written meanwhile by a thread of its own:
// the thread ends with 1 when the copy is whole, and sets *stop when it
// fails, at which the writers stop at once.
struct ArchiveCopying {
    HANDLE thread;
    StopFlag* stop;
};

// How many threads inflate and write the files: two, a second core inflating
// beside the first. On its own so that the tests' failing build can make it
// one, with every allocation in the same order on every run.
int UnpackingWriters();

// Opens the archive at archivePath (Win32 file functions, read access shared
// for reading), makes targetFolder the current folder and extracts every
// entry. Same results as ExtractPayload.
int UnzipToFolder(const wchar_t* archivePath, const wchar_t* targetFolder, int keepFlag,
                  FileNotReplaced* report = nullptr);

// Extracts the entries of an open archive, from its current entry on, into
// targetFolder: each file is written and stamped under a fresh name beside
// its final one, and all take their final names once every entry is
// written. Entries with unsafe or too long names, and (keepFlag 1) the icon
// library are skipped. Returns 0, or -1 when an entry stopped the extraction
// (unreadable entry information, failed move to the next entry, no memory,
// entry not readable, read or write error, full drive, CRC mismatch) or when
// a file could not be written or take its final name (then every name has
// its earlier file back), or when the archive's copy (if given) failed; then
// the fresh files and the folders made on the way are gone, and nothing else
// changed. With second, another handle on the same archive, two threads
// inflate and write.
int ExtractEntries(unzFile archive, const wchar_t* targetFolder, int keepFlag,
                   FileNotReplaced* report, ArchiveCopying* copying = nullptr,
                   unzFile second = nullptr);

// UnzipToFolder over a given set of file functions; copying as ExtractEntries.
int UnzipWithFunctions(zlib_filefunc64_def* functions, const wchar_t* archivePath,
                       const wchar_t* targetFolder, int keepFlag, FileNotReplaced* report,
                       ArchiveCopying* copying = nullptr);
