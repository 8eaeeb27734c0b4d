#include "install/extract_payload.h"

#include "install/archive_in_memory.h"
#include "install/fresh_name_bits.h"
#include "install/plain_file.h"
#include "install/unzip_entries.h"
#include "install/write_in_pieces.h"
#include "platform/fixed_text.h"
#include "platform/scoped_handle.h"
#include "platform/work_in_parts.h"
#include "resources/resource.h"

#include <windows.h>

const wchar_t kTempArchiveName[] = L"phtarg_x64.zip";

namespace {

// the temporary folder as GetTempPathW gives it, the archive's path in it,
// and the start folder
using TempPath = FixedText<kLongTextUnits>;

// The temporary folder, ending in "\", and the archive's path in it.
bool FormTempArchivePath(TempPath& folder, TempPath& path)
{
    DWORD length = GetTempPathW(folder.kUnits, folder.Buffer());
    if (length == 0 || length >= folder.kUnits - 1)
        return false;
    folder.AppendBackslash();
    return path.JoinPath(folder, kTempArchiveName);
}

// Removes a file left under the archive's name by an earlier run (a link
// there goes, its target stays). True when the name leads to another file
// that cannot be removed safely: the archive then goes under another name.
bool RemoveLeftoverArchive(const wchar_t* folder)
{
    return RemoveName(folder, kTempArchiveName) == HandleLeads::kElsewhere;
}

HANDLE CreateArchiveFile(const wchar_t* path)
{
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// The fixed name cannot be made: a link whose removal would hit its target,
// another run's archive, a program that holds the file (a virus scanner, an
// archiver), a name that leads nowhere. A name of our own beside it that
// nobody can guess ahead, made the same exclusive way.
HANDLE CreateArchiveUnderFreshName(const wchar_t* folder, TempPath& path)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        unsigned long long bits = FreshNameBits();
        if (!path.Format(L"%lsphtarg_x64_%08lx%08lx.zip", folder,
                         static_cast<unsigned long>(bits >> 32), static_cast<unsigned long>(bits)))
            break;
        HANDLE file = CreateArchiveFile(path);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

struct ArchiveCopy {
    HANDLE file;
    const void* bytes;
    DWORD size;
    StopFlag* stop;  // the writers'
};

// 1 when the whole archive is in the file: a short copy is an archive that
// does not open. A full temporary drive tells the writers at once, not after
// they inflated the whole product for nothing.
DWORD WINAPI WriteArchiveCopy(void* parameter)
{
    auto* copy = static_cast<ArchiveCopy*>(parameter);
    bool whole = WriteInPieces(copy->file, copy->bytes, copy->size);
    if (!whole)
        copy->stop->Raise();
    return whole;
}

// The archive the program carries; false when it is missing or empty.
bool FindPayload(const void** bytes, DWORD* size)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_PAYLOAD), L"ZIP");
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded)
        return false;
    *bytes = LockResource(loaded);
    *size = SizeofResource(module, resource);
    return *bytes && *size != 0;
}

// The file is made anew and stays ours alone until the extraction is done
// with it: others may not write, replace or delete it. It goes when our
// handle closes, so no later delete by name can hit whatever took the
// name's place meanwhile. archivePath receives its path.
HANDLE CreateTempArchive(TempPath& archivePath)
{
    TempPath tempFolder;
    if (!FormTempArchivePath(tempFolder, archivePath))
        return INVALID_HANDLE_VALUE;
    bool linked = RemoveLeftoverArchive(tempFolder);
    HANDLE created = linked ? INVALID_HANDLE_VALUE : CreateArchiveFile(archivePath);
    if (created == INVALID_HANDLE_VALUE)
        created = CreateArchiveUnderFreshName(tempFolder, archivePath);
    return created;
}

}  // namespace

int ExtractPayload(const wchar_t* targetFolder, int keepFlag, FileNotReplaced* report)
{
    const void* bytes = nullptr;
    DWORD size = 0;
    if (!FindPayload(&bytes, &size))
        return -1;
    TempPath archivePath;
    ScopedHandle file(CreateTempArchive(archivePath));  // its close deletes the file
    if (!file.IsValid())
        return -1;
    TempPath startFolder;
    DWORD startLength = GetCurrentDirectoryW(startFolder.kUnits, startFolder.Buffer());
    // The entries are read from the resource, byte for byte what the file
    // gets, while a second thread writes the file: no system call per read,
    // and no entry takes its final name unless the copy is whole. The file
    // stays held until the extraction is done.
    StopFlag stop;
    ArchiveCopy copy = {file.Get(), bytes, size, &stop};
    ScopedHandle copying = StartThread(WriteArchiveCopy, &copy);
    if (!copying.IsValid() && !WriteArchiveCopy(&copy))
        return -1;
    ArchiveInMemory source = {bytes, size};
    zlib_filefunc64_def functions;
    FillMemoryFileFunctions(&functions, &source);
    Unpacking unpacking(&stop);
    int result = unpacking.Stage(&functions, archivePath, targetFolder, keepFlag);
    if (result == 0)
        result = unpacking.Write();
    // the copy ends before its file goes, and no entry takes its final name
    // unless the copy is whole
    if (copying.IsValid() && WaitForThread(copying.Get()) != 1) {
        // as when the short archive did not open: the start folder stays
        // current, and what was staged goes
        if (startLength > 0 && startLength < startFolder.kUnits)
            SetCurrentDirectoryW(startFolder);
        return -1;
    }
    if (result == 0)
        result = unpacking.Commit(report);
    return result;
}
