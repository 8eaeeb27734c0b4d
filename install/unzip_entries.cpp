// Unpacking an archive into the target folder, step by step.
#include "install/unzip_entries.h"

#include "install/entry_files.h"
#include "install/entry_name.h"
#include "install/staged_entries.h"
#include "install/write_in_pieces.h"
#include "platform/work_in_parts.h"

#include <windows.h>

#include <iowin32.h>

#include <cwchar>
#include <memory>
#include <new>

// The entry's position, so that a writer goes straight to it.
struct PlannedFile {
    unz64_file_pos position;
    unsigned long dosDate;
};

namespace {

constexpr unsigned kCopyBytes = 32768;
constexpr int kStopped = -1;

// The name in the system ANSI code page as UTF-16; false when it does not fit.
bool ToWide(const char* name, EntryName& wide)
{
    return MultiByteToWideChar(CP_ACP, 0, name, -1, wide.Buffer(), wide.kUnits) > 0;
}

// Copies the open entry into out: UNZ_OK, the library's error, or UNZ_ERRNO
// when a write failed or the writers were told to stop.
int CopyCurrentEntry(unzFile archive, char* buffer, HANDLE out, StopFlag* stopped)
{
    for (;;) {
        if (stopped->Raised())
            return UNZ_ERRNO;
        int read = unzReadCurrentFile(archive, buffer, kCopyBytes);
        if (read <= 0)
            return read;
        if (!WriteInPieces(out, buffer, static_cast<DWORD>(read)))
            return UNZ_ERRNO;
    }
}

// The current entry's name as a "\\" separated path and its DOS time; false
// for an entry that is skipped unread (an unsafe or too long name, and with
// keepFlag 1 the icon library). *stop gets the library's result for the information.
bool CurrentEntry(unzFile archive, int keepFlag, EntryName& wideName, unsigned long* dosDate,
                  bool* folder, int* stop)
{
    char name[kEntryNameBytes];
    unz_file_info64 info;
    *stop = unzGetCurrentFileInfo64(archive, &info, name, sizeof(name), nullptr, 0, nullptr, 0);
    // a name that filled the buffer came without its terminator; a name that
    // does not fit the wide buffer is skipped unread
    if (*stop != UNZ_OK || info.size_filename >= sizeof(name) || !IsSafeEntryName(name) ||
        (keepFlag == 1 && NamesIconLibrary(name)) || !ToWide(name, wideName))
        return false;
    for (wchar_t* p = wideName.Buffer(); *p; ++p) {
        if (*p == L'/')
            *p = L'\\';
    }
    *dosDate = info.dosDate;
    *folder = *LastNamePart(name) == '\0';
    return true;
}

// Makes the folders of every entry that is not skipped, from the current one
// on, and takes each file's place among the files to create, in order;
// *planned gets their number. 0, or kStopped at the first fault.
int PlanEntries(unzFile archive, ZPOS64_T entries, int keepFlag, StagedEntries& staged,
                PlannedFile* files, size_t* planned)
{
    *planned = 0;
    for (ZPOS64_T i = 0; i < entries;) {
        EntryName name;
        unsigned long dosDate = 0;
        bool folder = false;
        int stop = UNZ_OK;
        if (CurrentEntry(archive, keepFlag, name, &dosDate, &folder, &stop)) {
            // a folder that cannot be made only shows in the files meant for it
            if (folder && staged.Folder(name, name.Length()) < 0)
                return kStopped;
            if (!folder) {
                PlannedFile& file = files[(*planned)++];
                file.dosDate = dosDate;
                if (unzGetFilePos64(archive, &file.position) != UNZ_OK || staged.Plan(name, dosDate) < 0)
                    return kStopped;
            }
        }
        if (stop != UNZ_OK)
            return kStopped;
        ++i;
        if (i < entries && unzGoToNextFile(archive) != UNZ_OK)
            return kStopped;
    }
    return 0;
}

// One of the two writers: each reads the archive through a handle of its own
// and takes the next file that neither has taken yet, in the order of Plan.
struct Writing {
    StagedEntries* staged;
    unzFile archive;
    const PlannedFile* files;
    size_t count;
    volatile LONG* taken;  // files handed out so far, shared
    StopFlag* stopped;     // raised by the writer that stops, or by a failed archive copy
    char* buffer;          // kCopyBytes
};

// Writes the file'th planned entry into its fresh file. Returns 0 to go on
// with the next one, anything else to stop.
int WriteOneFile(const Writing& writing, size_t file)
{
    unzFile archive = writing.archive;
    int error = unzGoToFilePos64(archive, &writing.files[file].position);
    if (error == UNZ_OK)
        error = unzOpenCurrentFilePassword(archive, nullptr);
    if (error != UNZ_OK) {
        unzCloseCurrentFile(archive);
        return error;
    }
    HANDLE out = INVALID_HANDLE_VALUE;
    int placed = writing.staged->Placed(file, &out);
    if (placed <= 0) {
        // no place for it (a link or a file in the way): the commit refuses it
        int closed = unzCloseCurrentFile(archive);
        return placed < 0 ? UNZ_INTERNALERROR : closed;
    }
    error = CopyCurrentEntry(archive, writing.buffer, out, writing.stopped);
    if (error != UNZ_OK) {
        unzCloseCurrentFile(archive);
        return error;
    }
    // stamped through the handle that wrote it, before it takes its name
    StampFileTimeFromDos(out, writing.files[file].dosDate);
    return unzCloseCurrentFile(archive);  // reports a CRC mismatch
}

// A writer's whole run: 1 when it wrote all its files, 0 when it stopped.
DWORD WINAPI WriteFiles(void* context)
{
    auto& writing = *static_cast<Writing*>(context);
    for (;;) {
        size_t file = static_cast<size_t>(InterlockedIncrement(writing.taken) - 1);
        if (file >= writing.count)
            return 1;
        // the other writer met a fault, or the copy did
        if (writing.stopped->Raised() || WriteOneFile(writing, file) != 0) {
            writing.stopped->Raise();
            return 0;
        }
    }
}

// Writes every planned file: on two threads when second (another handle on
// the same archive) is given and a thread can be had, the inflating of one
// file beside the other's.
bool WriteAllFiles(Writing& writing, unzFile second)
{
    Writing other = writing;
    other.archive = second;
    std::unique_ptr<char[]> buffer(second ? new (std::nothrow) char[kCopyBytes] : nullptr);
    other.buffer = buffer.get();
    ScopedHandle thread = buffer ? StartThread(WriteFiles, &other) : ScopedHandle();
    bool written = WriteFiles(&writing) == 1;
    return (!thread.IsValid() || WaitForThread(thread.Get()) == 1) && written;
}

}  // namespace

Unpacking::Unpacking(StopFlag* stop) : stop_(stop ? stop : &ownStop_) {}

Unpacking::~Unpacking() = default;

// Nothing under a final name changes before every entry is written; a stop
// on the way leaves the earlier installation as it was. The folders are made
// and the fresh files created ahead of the writing, several at a time, each
// a round trip to the system that would otherwise wait.
int Unpacking::Stage(zlib_filefunc64_def* functions, const wchar_t* archivePath,
                     const wchar_t* targetFolder, int keepFlag)
{
    archive_.reset(unzOpen2_64(archivePath, functions));
    if (!archive_)
        return kStopped;
    // a second reader for the second writer; without one, a single writer
    if (UnpackingWriters() > 1)
        second_.reset(unzOpen2_64(archivePath, functions));
    if (!SetCurrentDirectoryW(targetFolder) || Plan(targetFolder, keepFlag) != 0)
        return kStopped;
    // a copy that failed stops the writing wherever it is, not at its end
    if (stop_->Raised())
        return kStopped;
    staged_.CreateFiles();
    return 0;
}

// Makes room for every entry, then plans them from the first on.
int Unpacking::Plan(const wchar_t* targetFolder, int keepFlag)
{
    unz_global_info64 global;
    if (unzGetGlobalInfo64(archive_.get(), &global) != UNZ_OK || global.number_entry > kMostEntries)
        return kStopped;
    const size_t entries = static_cast<size_t>(global.number_entry);
    buffer_.reset(new (std::nothrow) char[kCopyBytes]);
    files_.reset(new (std::nothrow) PlannedFile[entries > 0 ? entries : 1]);
    if (!buffer_ || !files_ || !staged_.Begin(targetFolder, global.number_entry))
        return kStopped;
    return PlanEntries(archive_.get(), global.number_entry, keepFlag, staged_, files_.get(),
                       &planned_);
}

int Unpacking::Write()
{
    volatile LONG taken = 0;
    Writing writing = {&staged_, archive_.get(), files_.get(), planned_, &taken, stop_, buffer_.get()};
    return WriteAllFiles(writing, second_.get()) ? 0 : kStopped;
}

int Unpacking::Commit(FileNotReplaced* report)
{
    return staged_.Commit(report);
}

int UnzipToFolder(const wchar_t* archivePath, const wchar_t* targetFolder, int keepFlag,
                  FileNotReplaced* report)
{
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    Unpacking unpacking;
    if (unpacking.Stage(&functions, archivePath, targetFolder, keepFlag) != 0 ||
        unpacking.Write() != 0)
        return kStopped;
    return unpacking.Commit(report);
}
