#include "platform/folder_path.h"

#include "platform/text_format.h"

#include <windows.h>

namespace {

class Win32Folders : public FolderSystem {
public:
    bool CanEnter(const wchar_t* path) override
    {
        wchar_t current[MAX_PATH + 1];
        DWORD got = GetCurrentDirectoryW(MAX_PATH + 1, current);
        if (!SetCurrentDirectoryW(path))
            return false;
        if (got > 0 && got <= MAX_PATH)
            SetCurrentDirectoryW(current);
        return true;
    }

    void CreateOne(const wchar_t* path) override { CreateDirectoryW(path, nullptr); }
};

}  // namespace

int MakeFolderPath(PathText& path)
{
    Win32Folders folders;
    return MakeFolderPath(path, folders);
}

void CurrentFolder(wchar_t* folder, unsigned long units)
{
    DWORD length = GetCurrentDirectoryW(units, folder);
    if (length == 0 || length + 1 >= units) {
        folder[0] = L'\0';
        return;
    }
    AppendBackslash(folder, units);
}
