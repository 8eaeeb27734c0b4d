// Opening the archive and extracting its entries into the current folder.
#include "install/extract_payload.h"
#include "install/unzip_internal.h"

#include "install/entry_files.h"
#include "install/entry_name.h"

#include <windows.h>

#include <io.h>
#include <iowin32.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kWideNameUnits = 324;
constexpr unsigned kCopyBytes = 32768;
constexpr int kStopped = -1;

// The name in the system ANSI code page as UTF-16; false when it does not fit.
bool ToWide(const char* name, wchar_t* wide)
{
    return MultiByteToWideChar(CP_ACP, 0, name, -1, wide, kWideNameUnits) > 0;
}

// Creates the output file of an entry, and its folders when the first
// attempt fails; null when the file still cannot be created.
FILE* CreateEntryFile(const char* name, const char* lastPart, const wchar_t* wideName)
{
    FILE* out = _wfopen(wideName, L"wb");
    if (out || lastPart == name)
        return out;
    char folder[kEntryNameBytes];
    size_t folderBytes = static_cast<size_t>(lastPart - name - 1);
    std::memcpy(folder, name, folderBytes);
    folder[folderBytes] = '\0';
    wchar_t wideFolder[kWideNameUnits];
    if (ToWide(folder, wideFolder))
        MakeDirectoryPath(wideFolder);
    return _wfopen(wideName, L"wb");
}

// Sets the entry's time on an output file whose bytes are all written.
bool StampStream(FILE* out, unsigned long dosDate)
{
    intptr_t handle = _get_osfhandle(_fileno(out));
    return handle != -1 && StampFileTimeFromDos(reinterpret_cast<void*>(handle), dosDate);
}

// How many file entries were to be written, and how many files could be created.
struct FileCounts {
    unsigned long long entries = 0;
    unsigned long long created = 0;
};

// Writes the current entry below the current folder. Returns 0 to go on
// with the next entry, anything else to stop.
int ExtractCurrentEntry(unzFile archive, const char* name, unsigned long dosDate,
                        FileCounts& counts)
{
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyBytes]);
    if (!buffer)
        return UNZ_INTERNALERROR;

    const char* lastPart = LastNamePart(name);
    wchar_t wideName[kWideNameUnits];
    if (*lastPart == '\0') {
        if (ToWide(name, wideName))
            CreateDirectoryW(wideName, nullptr);  // an existing folder is fine
        return 0;
    }
    // a name that does not fit the wide buffer is skipped unread
    if (!ToWide(name, wideName))
        return 0;

    int error = unzOpenCurrentFilePassword(archive, nullptr);
    if (error != UNZ_OK) {
        unzCloseCurrentFile(archive);
        return error;
    }

    ++counts.entries;
    FILE* out = CreateEntryFile(name, lastPart, wideName);
    if (!out) {
        // read-only or locked file: left as it is
        return unzCloseCurrentFile(archive);
    }
    ++counts.created;

    for (;;) {
        int read = unzReadCurrentFile(archive, buffer.get(), kCopyBytes);
        if (read < 0) {
            error = read;
            break;
        }
        if (read == 0)
            break;
        if (fwrite(buffer.get(), 1, static_cast<size_t>(read), out) != static_cast<size_t>(read)) {
            error = UNZ_ERRNO;
            break;
        }
    }
    // a full disk may only show when the last bytes are flushed
    if (error == UNZ_OK && fflush(out) != 0)
        error = UNZ_ERRNO;
    // Stamped through the handle that wrote it once every byte is out: opening
    // the file again by name would cost two more system calls per file and
    // could meet a file that someone else put there meanwhile.
    bool stamped = error == UNZ_OK && StampStream(out, dosDate);
    if (fclose(out) != 0 && error == UNZ_OK)
        error = UNZ_ERRNO;

    if (error == UNZ_OK) {
        if (!stamped)
            SetFileTimeFromDos(wideName, dosDate);
        return unzCloseCurrentFile(archive);  // reports a CRC mismatch
    }
    unzCloseCurrentFile(archive);
    return error;
}

}  // namespace

int ExtractEntries(unzFile archive, int keepFlag)
{
    unz_global_info64 global;
    if (unzGetGlobalInfo64(archive, &global) != UNZ_OK)
        return kStopped;
    FileCounts counts;
    for (ZPOS64_T i = 0; i < global.number_entry;) {
        char name[kEntryNameBytes];
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(archive, &info, name, sizeof(name), nullptr, 0, nullptr, 0) !=
            UNZ_OK)
            return kStopped;

        // a name that filled the buffer came without its terminator
        bool skip = info.size_filename >= sizeof(name) || !IsSafeEntryName(name) ||
                    (keepFlag == 1 && NamesIconLibrary(name));
        if (!skip && ExtractCurrentEntry(archive, name, info.dosDate, counts) != 0)
            return kStopped;

        ++i;
        if (i < global.number_entry && unzGoToNextFile(archive) != UNZ_OK)
            return kStopped;
    }
    // Single files in use are skipped without a word, but an installation
    // that could not create a single file has installed nothing.
    return counts.entries > 0 && counts.created == 0 ? kStopped : 0;
}

int UnzipWithFunctions(zlib_filefunc64_def* functions, const wchar_t* archivePath,
                       const wchar_t* targetFolder, int keepFlag)
{
    unzFile archive = unzOpen2_64(archivePath, functions);
    if (!archive)
        return -1;
    int result = -1;
    if (SetCurrentDirectoryW(targetFolder))
        result = ExtractEntries(archive, keepFlag);
    unzClose(archive);
    return result;
}

int UnzipToFolder(const wchar_t* archivePath, const wchar_t* targetFolder, int keepFlag)
{
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    return UnzipWithFunctions(&functions, archivePath, targetFolder, keepFlag);
}
