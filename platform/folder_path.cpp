#include "platform/folder_path.h"

#include "platform/text_format.h"

#include <cwchar>

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

int MakeFolderPath(PathText& folder, FolderSystem& fileSystem)
{
    wchar_t* path = folder.Buffer();
    static_assert(PathText::kUnits == kTextUnits, "the folder is rebuilt in a path's units");
    TrimSpaces(path);
    if (path[0] == L'\0')
        return 0;
    AppendBackslash(path, kTextUnits);
    if (fileSystem.CanEnter(path))
        return 1;

    wchar_t built[kTextUnits] = L"";
    size_t builtLen = 0;
    size_t len = wcslen(path);
    size_t pos = 0;
    if (len >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        CopyText(built, kTextUnits, L"\\\\");
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
        // an empty part gets one too: a path that begins with a backslash
        // keeps it when it is rebuilt (the root of the current drive)
        AppendBackslash(built, kTextUnits);
        builtLen = wcslen(built);
    }

    CopyText(path, kTextUnits, built);
    AppendBackslash(path, kTextUnits);
    return fileSystem.CanEnter(path) ? 1 : 0;
}

bool IsFolderBelowRoot(const wchar_t* path)
{
    auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    auto letter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); };
    size_t pos = 0;
    int rootParts = 0;  // components that belong to the root
    if (separator(path[0]) && separator(path[1]) && (path[2] == L'?' || path[2] == L'.') &&
        separator(path[3])) {
        // the long-path and device forms: a drive or a share must follow,
        // anything else (volumes, devices, pipes) is no folder to install into
        const wchar_t* rest = path + 4;
        if (letter(rest[0]) && rest[1] == L':' && separator(rest[2])) {
            pos = 7;
        } else if ((rest[0] == L'U' || rest[0] == L'u') && (rest[1] == L'N' || rest[1] == L'n') &&
                   (rest[2] == L'C' || rest[2] == L'c') && separator(rest[3])) {
            pos = 8;
            rootParts = 2;  // server and share
        } else {
            return false;
        }
    } else if (path[0] != L'\0' && path[1] == L':' && separator(path[2])) {
        pos = 3;
    } else if (separator(path[0]) && separator(path[1])) {
        pos = 2;
        rootParts = 2;  // server and share
    } else {
        return false;  // relative, or relative to a drive's current folder
    }
    int depth = 0;
    while (path[pos] != L'\0') {
        while (separator(path[pos]))
            ++pos;
        size_t start = pos;
        while (path[pos] != L'\0' && !separator(path[pos]))
            ++pos;
        size_t first = start, last = pos;
        while (first < last && path[first] == L' ')
            ++first;
        while (last > first && path[last - 1] == L' ')
            --last;
        size_t length = last - first;
        if (length == 0)
            continue;
        bool dot = length == 1 && path[first] == L'.';
        bool dotDot = length == 2 && path[first] == L'.' && path[first + 1] == L'.';
        if (rootParts > 0) {
            if (dot || dotDot)
                return false;
            --rootParts;
            continue;
        }
        if (dotDot)
            depth = depth > 0 ? depth - 1 : 0;
        else if (!dot)
            ++depth;
    }
    return rootParts == 0 && depth > 0;
}
