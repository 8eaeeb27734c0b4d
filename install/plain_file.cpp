#include "install/plain_file.h"

#include "platform/fixed_text.h"

#include <ntsecapi.h>

#include <cwchar>

namespace {

using FullPath = FixedText<kFullPathUnits>;

bool IsPlain(HANDLE file, const wchar_t* folder, const wchar_t* name)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return false;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        IsLinkByItsKind(file, info.dwFileAttributes))
        return false;
    return info.nNumberOfLinks == 1 && WhereHandleLeads(file, folder, name) == HandleLeads::kToName;
}

}  // namespace

bool ReparseTagLeadsElsewhere(DWORD tag)
{
    return IsReparseTagNameSurrogate(tag) != 0;
}

bool IsLinkByItsKind(HANDLE handle, DWORD attributes)
{
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    return !GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof(tag)) ||
           ReparseTagLeadsElsewhere(tag.ReparseTag);
}

bool FinalPathOf(HANDLE handle, wchar_t* out, size_t units)
{
    DWORD length = GetFinalPathNameByHandleW(handle, out, static_cast<DWORD>(units),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length > 0 && length < units;
}

bool IsFolderReachedDirectly(const wchar_t* folder)
{
    ScopedHandle directory(CreateFileW(folder, FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FullPath reached, asked;
    DWORD length = GetLongPathNameW(folder, asked.Buffer(), static_cast<DWORD>(asked.kUnits));
    if (!directory.IsValid() || length == 0 || length >= asked.kUnits ||
        !FinalPathOf(directory.Get(), reached.Buffer(), reached.kUnits))
        return false;
    // the final path comes as "\\?\C:\..." or "\\?\UNC\server\...", without a final "\"
    const wchar_t* tail = reached.Get();
    FullPath unc;
    if (wcsncmp(tail, L"\\\\?\\UNC\\", 8) == 0 && unc.Format(L"\\\\%ls", tail + 8))
        tail = unc.Get();
    else if (wcsncmp(tail, L"\\\\?\\", 4) == 0)
        tail += 4;
    while (length > 0 && asked.Get()[length - 1] == L'\\')
        asked.Buffer()[--length] = L'\0';
    return SamePath(tail, asked);
}

bool SamePath(const wchar_t* a, const wchar_t* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

HandleLeads WhereHandleLeads(HANDLE file, const wchar_t* folder, const wchar_t* name)
{
    ScopedHandle directory(CreateFileW(folder, FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FullPath reached, expected;
    if (!directory.IsValid() || !FinalPathOf(file, reached.Buffer(), reached.kUnits) ||
        !FinalPathOf(directory.Get(), expected.Buffer(), expected.kUnits) ||
        !expected.JoinPath(expected, name))
        return HandleLeads::kUnknown;
    return SamePath(reached, expected) ? HandleLeads::kToName : HandleLeads::kElsewhere;
}

ScopedHandle OpenPlainFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                           bool* created)
{
    if (created != nullptr)
        *created = false;
    FullPath full, folder;
    wchar_t* name = nullptr;
    DWORD length = GetFullPathNameW(path, full.kUnits, full.Buffer(), &name);
    if (length == 0 || length >= full.kUnits || name == nullptr || name == full.Get())
        return ScopedHandle();
    size_t folderLength = static_cast<size_t>(name - full.Get());
    wmemcpy(folder.Buffer(), full, folderLength);
    folder.Buffer()[folderLength] = L'\0';

    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    ScopedHandle file(CreateFileW(full, access | FILE_READ_ATTRIBUTES, share, nullptr,
                                  OPEN_EXISTING, flags, nullptr));
    bool made = false;
    if (!file.IsValid() && disposition == OPEN_ALWAYS && GetLastError() == ERROR_FILE_NOT_FOUND) {
        file = ScopedHandle(CreateFileW(full, access | FILE_READ_ATTRIBUTES | DELETE, share,
                                        nullptr, CREATE_NEW, flags, nullptr));
        made = file.IsValid();
    }
    if (!file.IsValid())
        return file;
    if (!IsPlain(file.Get(), folder, name)) {
        if (made)
            DeleteOnClose(file.Get());
        return ScopedHandle();
    }
    if (created != nullptr)
        *created = made;
    return file;
}

bool DeleteOnClose(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof(disposition)) != FALSE;
}

bool DeleteIfEmptyPlainFile(const wchar_t* path)
{
    ScopedHandle file = OpenPlainFile(path, DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      OPEN_EXISTING);
    LARGE_INTEGER size;
    return file.IsValid() && GetFileSizeEx(file.Get(), &size) && size.QuadPart == 0 &&
           DeleteOnClose(file.Get());
}

HandleLeads RemoveName(const wchar_t* folder, const wchar_t* name)
{
    // (an empty folder leads nowhere either way: WhereHandleLeads cannot open it)
    FullPath path;
    if (!path.JoinPath(folder, name))
        return HandleLeads::kUnknown;
    ScopedHandle file(CreateFileW(path, DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.IsValid())
        return HandleLeads::kUnknown;
    HandleLeads leads = WhereHandleLeads(file.Get(), folder, name);
    if (leads == HandleLeads::kToName && !DeleteOnClose(file.Get()))
        return HandleLeads::kUnknown;
    return leads;
}

unsigned long long FreshNameBits()
{
    unsigned long long bits = 0;
    if (!RtlGenRandom(&bits, sizeof(bits))) {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        bits = static_cast<unsigned long long>(counter.QuadPart) ^
               (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^ GetTickCount();
    }
    return bits;
}

bool WriteInPieces(HANDLE file, const void* bytes, DWORD size)
{
    const auto* next = static_cast<const unsigned char*>(bytes);
    for (DWORD left = size; left > 0;) {
        DWORD piece = left < kWritePieceBytes ? left : kWritePieceBytes;
        DWORD written = 0;
        if (!WriteFile(file, next, piece, &written, nullptr) || written != piece)
            return false;
        next += piece;
        left -= piece;
    }
    return true;
}
