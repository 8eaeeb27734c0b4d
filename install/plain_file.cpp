#include "install/plain_file.h"

#include "install/delete_on_close.h"
#include "install/names_in_folder.h"
#include "platform/fixed_text.h"

#include <cwchar>

namespace {

using FullPath = FixedText<kFullPathUnits>;

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

}  // namespace

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
