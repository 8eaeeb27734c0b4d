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

void CurrentFolder(FixedText<kLongTextUnits>& folder)
{
    // the length with its terminator when the folder does not fit, without it when it does
    DWORD length = GetCurrentDirectoryW(folder.kUnits, folder.Buffer());
    if (length == 0 || length + 1 >= folder.kUnits) {
        folder.Clear();
        return;
    }
    folder.AppendBackslash();
}
