#pragma once
// Unpacking an archive into the target folder, step by step: stage, write,
// commit. Nothing under a final name changes before the commit.

#include <windows.h>

#include "install/file_not_replaced.h"
#include "install/staged_entries.h"
#include "platform/work_in_parts.h"

#include <ioapi.h>
#include <unzip.h>

#include <cstddef>
#include <memory>
#include <type_traits>

// How many threads inflate and write the files: two, a second core inflating
// beside the first. On its own so that the tests' failing build can make it
// one, with every allocation in the same order on every run.
int UnpackingWriters();

// Where a planned file's entry stands in the archive, and its time.
struct PlannedFile;

// One unpacking, its steps called in order, each only after the one before
// returned 0. Whatever was not committed when it goes is undone: the fresh
// files and the folders made on the way go, and nothing else changed.
class Unpacking {
public:
    // stop, when given, may be raised by another thread (a failed copy of
    // the archive): the writing then stops at once, before the fresh files
    // are created, before each entry and between its pieces.
    explicit Unpacking(StopFlag* stop = nullptr);
    ~Unpacking();
    Unpacking(const Unpacking&) = delete;
    Unpacking& operator=(const Unpacking&) = delete;

    // Opens the archive at archivePath through functions (a second time for
    // the second writer), makes targetFolder (absolute) the current folder,
    // makes the folders of every entry and creates a fresh file beside the
    // final name of each file entry. Entries with unsafe or too long names,
    // and (keepFlag 1) the icon library, are skipped. 0, or -1 when the
    // archive does not open, the folder cannot be entered, an entry's
    // information cannot be read or the next entry reached, the memory gives
    // out, or stop was raised.
    int Stage(zlib_filefunc64_def* functions, const wchar_t* archivePath,
              const wchar_t* targetFolder, int keepFlag);

    // Inflates every staged file into its fresh file and stamps its time, on
    // UnpackingWriters() threads. 0, or -1 when an entry stopped it (no
    // memory, entry not readable, read or write error, full drive, CRC
    // mismatch) or stop was raised.
    int Write();

    // Every fresh file takes its final name, all or none. 0, or -1 when a
    // file had no place to be written or could not take its name: then
    // every name has its earlier file back, and each such file went to
    // report (when given).
    int Commit(FileNotReplaced* report);

private:
    using Archive = std::unique_ptr<std::remove_pointer_t<unzFile>, decltype(&unzClose)>;
    int Plan(const wchar_t* targetFolder, int keepFlag);

    Archive archive_{nullptr, unzClose};
    Archive second_{nullptr, unzClose};  // the second writer's, when there is one
    StagedEntries staged_;
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<PlannedFile[]> files_;
    size_t planned_ = 0;
    StopFlag ownStop_;
    StopFlag* stop_;
};

// Unpacks the archive at archivePath (Win32 file functions, read access
// shared for reading) into targetFolder, which it leaves current. Same
// results as ExtractPayload.
int UnzipToFolder(const wchar_t* archivePath, const wchar_t* targetFolder, int keepFlag,
                  FileNotReplaced* report = nullptr);
