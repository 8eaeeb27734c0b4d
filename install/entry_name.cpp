#include "install/entry_name.h"

#include <cstring>

const char* LastNamePart(const char* name)
{
    const char* last = name;
    for (const char* p = name; *p; ++p) {
        if (*p == '/' || *p == '\\')
            last = p + 1;
    }
    return last;
}

bool NamesIconLibrary(const char* name)
{
    static const char kNeedle[] = "icons.dll";
    const size_t needle = sizeof(kNeedle) - 1;
    for (const char* start = name; *start; ++start) {
        size_t i = 0;
        for (; i < needle && start[i]; ++i) {
            char c = start[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (c != kNeedle[i])
                break;
        }
        if (i == needle)
            return true;
    }
    return false;
}

namespace {

// ".." and its spellings that Windows reads as "..": dots and blanks only,
// at least two dots.
bool IsParentComponent(const char* begin, const char* end)
{
    int dots = 0;
    for (const char* p = begin; p < end; ++p) {
        if (*p == '.')
            ++dots;
        else if (*p != ' ')
            return false;
    }
    return dots >= 2;
}

}  // namespace

bool IsSafeEntryName(const char* name)
{
    if (name[0] == '/' || name[0] == '\\')
        return false;
    if (std::strchr(name, ':') != nullptr)
        return false;
    const char* begin = name;
    for (const char* p = name;; ++p) {
        if (*p == '/' || *p == '\\' || *p == '\0') {
            if (IsParentComponent(begin, p))
                return false;
            if (*p == '\0')
                break;
            begin = p + 1;
        }
    }
    return true;
}
