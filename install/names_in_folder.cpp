#include "install/names_in_folder.h"

#include <winternl.h>

#include <cstring>
#include <cwchar>

namespace {

// a name part with the longest tail the installer gives it
constexpr size_t kNameUnits = 1100;

UNICODE_STRING Counted(const wchar_t* name, size_t length)
{
    UNICODE_STRING text;
    text.Buffer = const_cast<wchar_t*>(name);
    text.Length = static_cast<USHORT>(length * sizeof(wchar_t));
    text.MaximumLength = text.Length;
    return text;
}

}  // namespace

ScopedHandle OpenInFolder(HANDLE folder, const wchar_t* name, size_t length, DWORD access,
                          DWORD share, DWORD disposition, DWORD options, DWORD* error,
                          bool* created)
{
    if (created != nullptr)
        *created = false;
    if (length >= kNameUnits) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return ScopedHandle();
    }
    UNICODE_STRING text = Counted(name, length);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io = {};
    HANDLE handle = INVALID_HANDLE_VALUE;
    NTSTATUS status = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr,
                                   FILE_ATTRIBUTE_NORMAL, share, disposition,
                                   options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT,
                                   nullptr, 0);
    if (!NT_SUCCESS(status)) {
        *error = RtlNtStatusToDosError(status);
        return ScopedHandle();
    }
    *error = 0;
    if (created != nullptr)
        *created = io.Information == FILE_CREATED;
    return ScopedHandle(handle);
}

DWORD SetNameInFolder(HANDLE file, HANDLE folder, const wchar_t* name, bool replace, bool link)
{
    size_t length = std::wcslen(name);
    if (length >= kNameUnits)
        return ERROR_FILENAME_EXCED_RANGE;
    alignas(FILE_RENAME_INFORMATION) unsigned char
        buffer[sizeof(FILE_RENAME_INFORMATION) + kNameUnits * sizeof(wchar_t)] = {};
    auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer);
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = folder;
    info->FileNameLength = static_cast<ULONG>(length * sizeof(wchar_t));
    std::memcpy(info->FileName, name, length * sizeof(wchar_t));
    IO_STATUS_BLOCK io = {};
    // the two structures are laid out alike
    NTSTATUS status = NtSetInformationFile(file, &io, info, sizeof(buffer),
                                           link ? FileLinkInformation : FileRenameInformation);
    return NT_SUCCESS(status) ? 0 : RtlNtStatusToDosError(status);
}

DWORD RenameInFolder(HANDLE file, HANDLE folder, const wchar_t* name, bool replace)
{
    return ChangeNameInFolder(file, folder, name, replace, false);
}

DWORD LinkInFolder(HANDLE file, HANDLE folder, const wchar_t* name)
{
    return ChangeNameInFolder(file, folder, name, false, true);
}

bool IsSameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

bool SameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION one, other;
    return GetFileInformationByHandle(a, &one) && GetFileInformationByHandle(b, &other) &&
           IsSameFile(one, other);
}

void ForEachName(HANDLE folder, NameVisit visit, void* context)
{
    alignas(FILE_ID_BOTH_DIR_INFO) unsigned char buffer[16384];
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(folder, kind, buffer, sizeof(buffer))) {
        kind = FileIdBothDirectoryInfo;
        for (size_t offset = 0;;) {
            auto* entry = reinterpret_cast<FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
            visit(context, entry->FileName, entry->FileNameLength / sizeof(wchar_t),
                  entry->FileAttributes);
            if (entry->NextEntryOffset == 0)
                break;
            offset += entry->NextEntryOffset;
        }
    }
}
