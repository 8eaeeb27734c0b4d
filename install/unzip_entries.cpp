// Opening the archive and extracting its entries into the current folder.
#include "install/unzip_entries.h"

#include "install/entry_files.h"
#include "install/entry_name.h"
#include "install/staged_entries.h"

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
// when a write failed.
int CopyCurrentEntry(unzFile archive, char* buffer, HANDLE out)
{
    for (;;) {
        int read = unzReadCurrentFile(archive, buffer, kCopyBytes);
        if (read <= 0)
            return read;
        DWORD written = 0;
        if (!WriteFile(out, buffer, static_cast<DWORD>(read), &written, nullptr) ||
            written != static_cast<DWORD>(read))
            return UNZ_ERRNO;
    }
}

// Writes the current entry under a fresh name beside its final one, through
// buffer (kCopyBytes). Returns 0 to go on with the next entry, anything else
// to stop.
int ExtractCurrentEntry(unzFile archive, const char* name, unsigned long dosDate,
                        StagedEntries& staged, char* buffer)
{
    const char* lastPart = LastNamePart(name);
    wchar_t wideName[kEntryNameUnits];
    // a name that does not fit the wide buffer is skipped unread
    if (!ToWide(name, wideName))
        return 0;
    for (wchar_t* p = wideName; *p; ++p) {
        if (*p == L'/')
            *p = L'\\';
    }
    if (*lastPart == '\0') {
        // a folder that cannot be made only shows in the files meant for it
        return staged.Folder(wideName, std::wcslen(wideName)) < 0 ? UNZ_INTERNALERROR : 0;
    }

    int error = unzOpenCurrentFilePassword(archive, nullptr);
    if (error != UNZ_OK) {
        unzCloseCurrentFile(archive);
        return error;
    }
    HANDLE out = INVALID_HANDLE_VALUE;
    int placed = staged.Stage(wideName, dosDate, &out);
    if (placed <= 0) {
        // no place for it (locked, a link in the way): it keeps its earlier state
        int closed = unzCloseCurrentFile(archive);
        return placed < 0 ? UNZ_INTERNALERROR : closed;
    }

    error = CopyCurrentEntry(archive, buffer, out);
    if (error != UNZ_OK) {
        unzCloseCurrentFile(archive);
        return error;
    }
    // stamped through the handle that wrote it, before it takes its name
    StampFileTimeFromDos(out, dosDate);
    return unzCloseCurrentFile(archive);  // reports a CRC mismatch
}

}  // namespace

int ExtractEntries(unzFile archive, const wchar_t* targetFolder, int keepFlag,
                   FileNotReplaced report, void* copying)
{
    unz_global_info64 global;
    if (unzGetGlobalInfo64(archive, &global) != UNZ_OK)
        return kStopped;
    // Nothing under a final name changes before every entry is written; a
    // stop on the way leaves the earlier installation as it was.
    StagedEntries staged;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyBytes]);
    if (!buffer || !staged.Begin(targetFolder, global.number_entry))
        return kStopped;
    for (ZPOS64_T i = 0; i < global.number_entry;) {
        char name[kEntryNameBytes];
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(archive, &info, name, sizeof(name), nullptr, 0, nullptr, 0) !=
            UNZ_OK)
            return kStopped;

        // a name that filled the buffer came without its terminator
        bool skip = info.size_filename >= sizeof(name) || !IsSafeEntryName(name) ||
                    (keepFlag == 1 && NamesIconLibrary(name));
        if (!skip && ExtractCurrentEntry(archive, name, info.dosDate, staged, buffer.get()) != 0)
            return kStopped;

        ++i;
        if (i < global.number_entry && unzGoToNextFile(archive) != UNZ_OK)
            return kStopped;
    }
    DWORD copied = 1;
    if (copying && (WaitForSingleObject(copying, INFINITE) != WAIT_OBJECT_0 ||
                    !GetExitCodeThread(copying, &copied)))
        return kStopped;
    return copied == 1 ? staged.Commit(report) : kStopped;
}

int UnzipWithFunctions(zlib_filefunc64_def* functions, const wchar_t* archivePath,
                       const wchar_t* targetFolder, int keepFlag, FileNotReplaced report,
                       void* copying)
{
    unzFile archive = unzOpen2_64(archivePath, functions);
    if (!archive)
        return -1;
    int result = -1;
    if (SetCurrentDirectoryW(targetFolder))
        result = ExtractEntries(archive, targetFolder, keepFlag, report, copying);
    unzClose(archive);
    return result;
}

int UnzipToFolder(const wchar_t* archivePath, const wchar_t* targetFolder, int keepFlag,
                  FileNotReplaced report)
{
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    return UnzipWithFunctions(&functions, archivePath, targetFolder, keepFlag, report);
}
