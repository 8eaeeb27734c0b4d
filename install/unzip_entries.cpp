// Opening the archive and extracting its entries into the current folder.
#include "install/unzip_entries.h"

#include "install/entry_files.h"
#include "install/entry_name.h"
#include "install/plain_file.h"
#include "install/staged_entries.h"
#include "platform/work_in_parts.h"

#include <windows.h>

#include <iowin32.h>

#include <cwchar>
#include <memory>
#include <new>

namespace {

constexpr unsigned kCopyBytes = 32768;
constexpr int kStopped = -1;

// The name in the system ANSI code page as UTF-16; false when it does not fit.
bool ToWide(const char* name, wchar_t* wide)
{
    return MultiByteToWideChar(CP_ACP, 0, name, -1, wide, kEntryNameUnits) > 0;
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
bool CurrentEntry(unzFile archive, int keepFlag, wchar_t* wideName, unsigned long* dosDate,
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
    for (wchar_t* p = wideName; *p; ++p) {
        if (*p == L'/')
            *p = L'\\';
    }
    *dosDate = info.dosDate;
    *folder = *LastNamePart(name) == '\0';
    return true;
}

// Calls visit(archive, name, dosDate, folder, context) for every entry that
// is not skipped, from the current one on; stops at the first nonzero result.
using EntryVisit = int (*)(unzFile, const wchar_t*, unsigned long, bool, void*);
int VisitEntries(unzFile archive, ZPOS64_T entries, int keepFlag, EntryVisit visit, void* context)
{
    for (ZPOS64_T i = 0; i < entries;) {
        wchar_t name[kEntryNameUnits];
        unsigned long dosDate = 0;
        bool folder = false;
        int stop = UNZ_OK;
        if (CurrentEntry(archive, keepFlag, name, &dosDate, &folder, &stop) &&
            visit(archive, name, dosDate, folder, context) != 0)
            return kStopped;
        if (stop != UNZ_OK)
            return kStopped;
        ++i;
        if (i < entries && unzGoToNextFile(archive) != UNZ_OK)
            return kStopped;
    }
    return 0;
}

// Makes the entry's folders and takes its place among the files to create.
int PlanEntry(unzFile, const wchar_t* name, unsigned long dosDate, bool folder, void* context)
{
    auto& staged = *static_cast<StagedEntries*>(context);
    // a folder that cannot be made only shows in the files meant for it
    if (folder)
        return staged.Folder(name, std::wcslen(name)) < 0 ? UNZ_INTERNALERROR : 0;
    return staged.Plan(name, dosDate) < 0 ? UNZ_INTERNALERROR : 0;
}

// One of the two writers: each reads the archive through a handle of its own
// and takes the next file that neither has taken yet, in the order of Plan.
struct Writing {
    StagedEntries* staged;
    unzFile archive;
    const unz64_file_pos* first;
    ZPOS64_T entries;
    int keepFlag;
    volatile LONG* taken;    // files handed out so far, shared
    StopFlag* stopped;       // raised by the writer that stops, or by a failed archive copy
    char* buffer;            // kCopyBytes
    size_t file;             // the visit's file, counted in the order of Plan
    size_t mine;             // the file this writer writes next
};

size_t TakeFile(Writing& writing)
{
    return static_cast<size_t>(InterlockedIncrement(writing.taken) - 1);
}

// Writes the current entry, the file'th planned one, into its fresh file.
// Returns 0 to go on with the next entry, anything else to stop.
int WriteCurrentFile(unzFile archive, unsigned long dosDate, const Writing& writing, size_t file)
{
    int error = unzOpenCurrentFilePassword(archive, nullptr);
    if (error != UNZ_OK) {
        unzCloseCurrentFile(archive);
        return error;
    }
    HANDLE out = INVALID_HANDLE_VALUE;
    int placed = writing.staged->Placed(file, &out);
    if (placed <= 0) {
        // no place for it (locked, a link in the way): it keeps its earlier state
        int closed = unzCloseCurrentFile(archive);
        return placed < 0 ? UNZ_INTERNALERROR : closed;
    }
    error = CopyCurrentEntry(archive, writing.buffer, out, writing.stopped);
    if (error != UNZ_OK) {
        unzCloseCurrentFile(archive);
        return error;
    }
    // stamped through the handle that wrote it, before it takes its name
    StampFileTimeFromDos(out, dosDate);
    return unzCloseCurrentFile(archive);  // reports a CRC mismatch
}

// Writes the current entry when it is this writer's, then takes the next.
int WriteEntry(unzFile archive, const wchar_t*, unsigned long dosDate, bool folder, void* context)
{
    auto& writing = *static_cast<Writing*>(context);
    if (writing.stopped->Raised())
        return kStopped;  // the other writer met a fault, or the copy did
    if (folder || writing.file++ != writing.mine)
        return 0;
    int result = WriteCurrentFile(archive, dosDate, writing, writing.file - 1);
    writing.mine = TakeFile(writing);
    return result;
}

// A writer's whole run: 1 when it wrote all its files, 0 when it stopped.
DWORD WINAPI WriteFiles(void* context)
{
    auto& writing = *static_cast<Writing*>(context);
    writing.mine = TakeFile(writing);
    if ((writing.entries > 0 && unzGoToFilePos64(writing.archive, writing.first) != UNZ_OK) ||
        VisitEntries(writing.archive, writing.entries, writing.keepFlag, WriteEntry, &writing) != 0) {
        writing.stopped->Raise();
        return 0;
    }
    return 1;
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

int ExtractEntries(unzFile archive, const wchar_t* targetFolder, int keepFlag,
                   FileNotReplaced* report, ArchiveCopying* copying, unzFile second)
{
    unz_global_info64 global;
    unz64_file_pos first = {};
    // an archive without entries has no current one to come back to
    if (unzGetGlobalInfo64(archive, &global) != UNZ_OK ||
        (global.number_entry > 0 && unzGetFilePos64(archive, &first) != UNZ_OK))
        return kStopped;
    // Nothing under a final name changes before every entry is written; a
    // stop on the way leaves the earlier installation as it was. The folders
    // are made and the fresh files created ahead of the writing, several at
    // a time, each a round trip to the system that would otherwise wait.
    StagedEntries staged;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyBytes]);
    if (!buffer || !staged.Begin(targetFolder, global.number_entry) ||
        VisitEntries(archive, global.number_entry, keepFlag, PlanEntry, &staged) != 0)
        return kStopped;
    // a copy that failed stops the writing wherever it is, not at its end
    volatile LONG taken = 0;
    StopFlag ownStop;
    StopFlag* stopped = copying ? copying->stop : &ownStop;
    if (stopped->Raised())
        return kStopped;
    staged.CreateFiles();
    Writing writing = {&staged, archive, &first, global.number_entry, keepFlag,
                       &taken, stopped, buffer.get(), 0, 0};
    if (!WriteAllFiles(writing, second))
        return kStopped;
    // no entry takes its final name unless the archive's copy is whole
    if (copying && WaitForThread(copying->thread) != 1)
        return kStopped;
    return staged.Commit(report);
}

int UnzipWithFunctions(zlib_filefunc64_def* functions, const wchar_t* archivePath,
                       const wchar_t* targetFolder, int keepFlag, FileNotReplaced* report,
                       ArchiveCopying* copying)
{
    unzFile archive = unzOpen2_64(archivePath, functions);
    if (!archive)
        return -1;
    // a second reader for the second writer; without one, a single writer
    unzFile second = UnpackingWriters() > 1 ? unzOpen2_64(archivePath, functions) : nullptr;
    int result = -1;
    if (SetCurrentDirectoryW(targetFolder))
        result = ExtractEntries(archive, targetFolder, keepFlag, report, copying, second);
    if (second)
        unzClose(second);
    unzClose(archive);
    return result;
}

int UnzipToFolder(const wchar_t* archivePath, const wchar_t* targetFolder, int keepFlag,
                  FileNotReplaced* report)
{
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    return UnzipWithFunctions(&functions, archivePath, targetFolder, keepFlag, report);
}
