#include "wizard/folder_rules.h"
#include "platform/text_format.h"

#include <cwchar>
#include <cwctype>

namespace {

constexpr size_t kPartLimit = 256;  // the path splitter's part buffers

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

bool EqualsIgnoringCase(const wchar_t* a, const wchar_t* b)
{
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (std::towlower(*a) != std::towlower(*b))
            return false;
    }
    return *a == *b;
}

}  // namespace

bool IsAcceptableTargetFolder(const wchar_t* folder)
{
    size_t len = std::wcslen(folder);
    if (len == 0 || len < 2 || folder[1] != L':')
        return false;
    // split as drive, directory (through the last slash), name, extension
    const wchar_t* rest = folder + 2;
    const wchar_t* lastSlash = nullptr;
    for (const wchar_t* p = rest; *p != L'\0'; ++p) {
        if (IsSlash(*p))
            lastSlash = p;
    }
    const wchar_t* file = lastSlash != nullptr ? lastSlash + 1 : rest;
    size_t dirLen = static_cast<size_t>(file - rest);
    const wchar_t* dot = std::wcsrchr(file, L'.');
    size_t fileLen = std::wcslen(file);
    size_t nameLen = dot != nullptr ? static_cast<size_t>(dot - file) : fileLen;
    size_t extLen = fileLen - nameLen;
    return dirLen < kPartLimit && nameLen < kPartLimit && extLen < kPartLimit;
}

void AppendProductFolder(PathText& path)
{
    static const wchar_t kProduct[] = L"Photarium\\";
    if (!path.AppendBackslash())
        return;
    size_t len = path.Length();
    // the backslash before the final one, scanning back from the second-to-last character
    bool append = len == 3;
    for (size_t i = len - 1; i-- > 0;) {
        if (path[i] == L'\\') {
            if (i > 0 && !EqualsIgnoringCase(path.Get() + i, L"\\photarium\\"))
                append = true;
            break;
        }
    }
    if (append)
        path.Append(kProduct);
}

bool FindFolderLineMiddle(const wchar_t* line, size_t folderStart, FolderLineMiddle* middle)
{
    size_t length = std::wcslen(line);
    if (folderStart >= length)
        return false;
    const wchar_t* drive = std::wcschr(line + folderStart, L'\\');
    if (drive == nullptr)
        return false;
    size_t head = static_cast<size_t>(drive - line) + 1;
    // a final backslash belongs to the last folder
    size_t end = line[length - 1] == L'\\' ? length - 1 : length;
    size_t tail = end;
    while (tail > head && line[tail - 1] != L'\\')
        --tail;
    if (tail <= head)
        return false;
    middle->head = head;
    middle->tail = tail - 1;
    return middle->tail > head;
}
