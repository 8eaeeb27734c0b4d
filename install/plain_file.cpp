#include "install/plain_file.h"

#include "platform/scoped_handle.h"
#include "platform/text_format.h"

#include <ntsecapi.h>

#include <cwchar>

namespace {

constexpr DWORD kPathUnits = 600;

bool FinalPath(HANDLE handle, wchar_t* out)
{
    DWORD units = GetFinalPathNameByHandleW(handle, out, kPathUnits,
                                            FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return units > 0 && units < kPathUnits;
}

bool IsPlain(HANDLE file, const wchar_t* folder, const wchar_t* name)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return false;
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    return info.nNumberOfLinks == 1 && WhereHandleLeads(file, folder, name) == HandleLeads::kToName;
}

}  // namespace

HandleLeads WhereHandleLeads(HANDLE file, const wchar_t* folder, const wchar_t* name)
{
    ScopedHandle directory(CreateFileW(folder, FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    wchar_t reached[kPathUnits], folderPath[kPathUnits], expected[kPathUnits];
    if (!directory.IsValid() || !FinalPath(file, reached) || !FinalPath(directory.Get(), folderPath))
        return HandleLeads::kUnknown;
    size_t length = wcslen(folderPath);
    const wchar_t* separator = length > 0 && folderPath[length - 1] == L'\\' ? L"" : L"\\";
    if (!FormatText(expected, kPathUnits, L"%ls%ls%ls", folderPath, separator, name))
        return HandleLeads::kUnknown;
    return CompareStringOrdinal(reached, -1, expected, -1, TRUE) == CSTR_EQUAL
               ? HandleLeads::kToName
               : HandleLeads::kElsewhere;
}

HANDLE OpenPlainFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                     bool* created)
{
    if (created != nullptr)
        *created = false;
    wchar_t full[kPathUnits];
    wchar_t* name = nullptr;
    DWORD length = GetFullPathNameW(path, kPathUnits, full, &name);
    if (length == 0 || length >= kPathUnits || name == nullptr || name == full)
        return INVALID_HANDLE_VALUE;
    wchar_t folder[kPathUnits];
    size_t folderLength = static_cast<size_t>(name - full);
    wmemcpy(folder, full, folderLength);
    folder[folderLength] = L'\0';

    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE file = CreateFileW(full, access | FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                              flags, nullptr);
    bool made = false;
    if (file == INVALID_HANDLE_VALUE && disposition == OPEN_ALWAYS &&
        GetLastError() == ERROR_FILE_NOT_FOUND) {
        file = CreateFileW(full, access | FILE_READ_ATTRIBUTES | DELETE, share, nullptr,
                           CREATE_NEW, flags, nullptr);
        made = file != INVALID_HANDLE_VALUE;
    }
    if (file == INVALID_HANDLE_VALUE)
        return INVALID_HANDLE_VALUE;
    if (!IsPlain(file, folder, name)) {
        if (made)
            DeleteOnClose(file);
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
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
    HANDLE file = OpenPlainFile(path, DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool gone = GetFileSizeEx(file, &size) && size.QuadPart == 0 && DeleteOnClose(file);
    CloseHandle(file);
    return gone;
}

HandleLeads RemoveName(const wchar_t* folder, const wchar_t* name)
{
    wchar_t path[kPathUnits];
    if (!FormatText(path, kPathUnits, L"%ls%ls%ls", folder,
                    folder[0] != L'\0' && folder[wcslen(folder) - 1] != L'\\' ? L"\\" : L"", name))
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
