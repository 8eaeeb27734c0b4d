#include "install/where_names_lead.h"

#include "install/names_in_folder.h"
#include "platform/fixed_text.h"

#include <cwchar>
#include <utility>

namespace {

using FullPath = FixedText<kFullPathUnits>;

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

ScopedHandle OpenFolderByPath(const wchar_t* folder)
{
    return ScopedHandle(CreateFileW(folder, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, kShareAll,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

HandleLeads WhereHandleLeads(HANDLE file, HANDLE folder, const wchar_t* name, size_t length)
{
    FullPath reached, expected;
    if (!NameBelowVolume(file, reached) || !NameBelowVolume(folder, expected))
        return HandleLeads::kUnknown;
    if (expected.EndsWithBackslash())
        expected.Buffer()[expected.Length() - 1] = L'\0';  // a volume's root is "\"
    FullPath joined;
    if (!joined.Format(L"%ls\\%.*ls", expected.Get(), static_cast<int>(length), name))
        return HandleLeads::kUnknown;
    return SamePath(reached, joined) ? HandleLeads::kToName : HandleLeads::kElsewhere;
}

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
