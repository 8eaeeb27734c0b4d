#include "install/folder_path.h"

#include "app/install_request.h"

#include <cwchar>

namespace {

// An empty text gets one too: a path that begins with a backslash keeps it
// when it is rebuilt (the root of the current drive).
void AppendBackslashIfRoom(wchar_t* path)
{
    size_t len = wcslen(path);
    if (len <= 258 && (len == 0 || path[len - 1] != L'\\')) {
        path[len] = L'\\';
        path[len + 1] = L'\0';
    }
}

}  // namespace

void TrimSpaces(wchar_t* path)
{
    size_t len = wcslen(path);
    while (len > 0 && path[len - 1] == L' ')
        path[--len] = L'\0';
    if (path[0] == L' ' && len < kTextUnits) {
        size_t lead = 0;
        while (path[lead] == L' ')
            ++lead;
        wmemmove(path, path + lead, len - lead + 1);
    }
}

int MakeFolderPath(wchar_t* path, FolderSystem& fileSystem)
{
    TrimSpaces(path);
    if (path[0] == L'\0')
        return 0;
    AppendBackslashIfRoom(path);
    if (fileSystem.CanEnter(path))
        return 1;

    wchar_t built[kTextUnits] = L"";
    size_t builtLen = 0;
    size_t len = wcslen(path);
    size_t pos = 0;
    if (len >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        wcscpy(built, L"\\\\");
        builtLen = 2;
        pos = 2;
    }
    size_t end = len < kTextUnits ? len : kTextUnits;
    for (; pos < end; ++pos) {
        if (path[pos] != L'\\') {
            if (builtLen + 1 < kTextUnits) {
                built[builtLen++] = path[pos];
                built[builtLen] = L'\0';
            }
            continue;
        }
        TrimSpaces(built);
        fileSystem.CreateOne(built);
        AppendBackslashIfRoom(built);
        builtLen = wcslen(built);
    }

    wcscpy(path, built);
    AppendBackslashIfRoom(path);
    return fileSystem.CanEnter(path) ? 1 : 0;
}
