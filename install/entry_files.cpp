#include "install/entry_files.h"

#include "platform/scoped_handle.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <new>

int MakeDirectoryPath(const wchar_t* path)
{
    size_t length = std::wcslen(path);
    if (length == 0)
        return 0;
    std::unique_ptr<wchar_t[]> copy(new (std::nothrow) wchar_t[length + 1]);
    if (!copy)
        return kDirectoryNoMemory;
    std::wmemcpy(copy.get(), path, length + 1);
    if (copy[length - 1] == L'/')
        copy[--length] = L'\0';

    if (CreateDirectoryW(copy.get(), nullptr))
        return 1;

    for (size_t i = 1; i <= length; ++i) {
        wchar_t c = copy[i];
        if (c != L'\\' && c != L'/' && c != L'\0')
            continue;
        copy[i] = L'\0';
        if (!CreateDirectoryW(copy.get(), nullptr)) {
            DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return 0;
        }
        copy[i] = c;
    }
    return 1;
}

namespace {

// The DOS date (upper 16 bits) and time (lower 16 bits), a local time, as UTC.
FILETIME DosTimeToUtc(unsigned long dosDateTime)
{
    FILETIME local = {}, utc = {};
    DosDateTimeToFileTime(HIWORD(dosDateTime), LOWORD(dosDateTime), &local);
    LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

}  // namespace

void SetFileTimeFromDos(const wchar_t* fileName, unsigned long dosDateTime)
{
    ScopedHandle file(CreateFileW(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid())
        return;
    FILETIME created, accessed, written;
    GetFileTime(file.Get(), &created, &accessed, &written);
    FILETIME utc = DosTimeToUtc(dosDateTime);
    SetFileTime(file.Get(), &utc, &accessed, &utc);
}

bool StampFileTimeFromDos(void* file, unsigned long dosDateTime)
{
    FILETIME utc = DosTimeToUtc(dosDateTime);
    // no last-access time: it stays what it is
    return SetFileTime(static_cast<HANDLE>(file), &utc, nullptr, &utc) != FALSE;
}

void RestampCreationTime(void* file, unsigned long dosDateTime)
{
    FILETIME utc = DosTimeToUtc(dosDateTime);
    SetFileTime(static_cast<HANDLE>(file), &utc, nullptr, nullptr);
}
