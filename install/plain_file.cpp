#include "install/plain_file.h"

#include "install/names_in_folder.h"
#include "platform/fixed_text.h"

#include <ntsecapi.h>

#include <cwchar>
#include <utility>

namespace {

using FullPath = FixedText<kFullPathUnits>;

// A folder opened by its path, wherever that leads.
ScopedHandle OpenFolderByPath(const wchar_t* folder)
{
    return ScopedHandle(CreateFileW(folder, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, kShareAll,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Where an open handle leads, compared with name in the open folder by their
// paths below the volume, which Windows gives on every volume and share (a
// final path it does not). kElsewhere for what the system followed to
// another place (Unix links under Wine).
HandleLeads WhereHandleLeads(HANDLE file, HANDLE folder, const wchar_t* name, size_t length)
{
    FullPath reached, expected;
    if (!NameBelowVolume(file, reached.Buffer(), reached.kUnits) ||
        !NameBelowVolume(folder, expected.Buffer(), expected.kUnits))
        return HandleLeads::kUnknown;
    if (expected.EndsWithBackslash())
        expected.Buffer()[expected.Length() - 1] = L'\0';  // a volume's root is "\"
    FullPath joined;
    if (!joined.Format(L"%ls\\%.*ls", expected.Get(), static_cast<int>(length), name))
        return HandleLeads::kUnknown;
    return SamePath(reached, joined) ? HandleLeads::kToName : HandleLeads::kElsewhere;
}

bool IsPlain(HANDLE file, HANDLE folder, const wchar_t* name)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return false;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        IsLinkByItsKind(file, info.dwFileAttributes))
        return false;
    return info.nNumberOfLinks == 1 &&
           WhereHandleLeads(file, folder, name, std::wcslen(name)) == HandleLeads::kToName;
}

// The length of the root a full path starts with: "C:\" or "\\server\share\";
// 0 for any other form.
size_t RootLength(const wchar_t* path)
{
    if (path[0] != L'\0' && path[1] == L':' && path[2] == L'\\')
        return 3;
    if (path[0] != L'\\' || path[1] != L'\\' || path[2] == L'?' || path[2] == L'.')
        return 0;
    const wchar_t* server = std::wcschr(path + 2, L'\\');
    const wchar_t* share = server ? std::wcschr(server + 1, L'\\') : nullptr;
    return share && share > server + 1 ? static_cast<size_t>(share - path) + 1 : 0;
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

bool IsFolderReachedDirectly(const wchar_t* folder)
{
    // From the root down, each folder opened in the one above it and never
    // through a link: a junction, mount point or link anywhere on the way
    // refuses the folder, on every kind of volume.
    size_t root = RootLength(folder);
    FullPath start;
    if (root == 0 || !start.Format(L"%.*ls", static_cast<int>(root), folder))
        return false;
    ScopedHandle current = OpenFolderByPath(start);
    for (const wchar_t* part = folder + root; current.IsValid() && *part;) {
        const wchar_t* end = std::wcschr(part, L'\\');
        size_t length = end ? static_cast<size_t>(end - part) : std::wcslen(part);
        DWORD error = 0;
        ScopedHandle next = OpenInFolder(current.Get(), part, length,
                                         FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, kShareAll,
                                         FILE_OPEN, FILE_DIRECTORY_FILE, &error);
        BY_HANDLE_FILE_INFORMATION info;
        if (!next.IsValid() || !GetFileInformationByHandle(next.Get(), &info) ||
            IsLinkByItsKind(next.Get(), info.dwFileAttributes) ||
            WhereHandleLeads(next.Get(), current.Get(), part, length) != HandleLeads::kToName)
            return false;
        current = std::move(next);
        part += length;
        while (*part == L'\\')
            ++part;
    }
    return current.IsValid();
}

bool SamePath(const wchar_t* a, const wchar_t* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
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

    // the file is opened by its name in its folder, never through a link there
    ScopedHandle directory = OpenFolderByPath(folder);
    if (!directory.IsValid())
        return directory;
    const size_t nameLength = std::wcslen(name);
    DWORD error = 0;
    ScopedHandle file = OpenInFolder(directory.Get(), name, nameLength, access | FILE_READ_ATTRIBUTES,
                                     share, FILE_OPEN, FILE_NON_DIRECTORY_FILE, &error);
    bool made = false;
    if (!file.IsValid() && disposition == OPEN_ALWAYS && error == ERROR_FILE_NOT_FOUND) {
        file = OpenInFolder(directory.Get(), name, nameLength, access | FILE_READ_ATTRIBUTES | DELETE,
                            share, FILE_CREATE, FILE_NON_DIRECTORY_FILE, &error);
        made = file.IsValid();
    }
    if (!file.IsValid()) {
        SetLastError(error);
        return file;
    }
    if (!IsPlain(file.Get(), directory.Get(), name)) {
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
    ScopedHandle directory = OpenFolderByPath(folder);
    if (!directory.IsValid())
        return HandleLeads::kUnknown;
    DWORD error = 0;
    const size_t length = std::wcslen(name);
    ScopedHandle file = OpenInFolder(directory.Get(), name, length, DELETE | FILE_READ_ATTRIBUTES,
                                     kShareAll, FILE_OPEN, 0, &error);
    if (!file.IsValid())
        return HandleLeads::kUnknown;
    HandleLeads leads = WhereHandleLeads(file.Get(), directory.Get(), name, length);
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
