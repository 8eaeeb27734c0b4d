#include "platform/text_format.h"

#include <cstdarg>
#include <cwchar>

bool FormatText(wchar_t* out, size_t units, const wchar_t* format, ...)
{
    if (units == 0)
        return false;
    va_list args;
    va_start(args, format);
#ifdef _WIN32
    // msvcrt's own formatter: mingw-w64's C99 one adds 20 KB to the program.
    // Either way a text that fits is written whole, anything else is refused.
    int written = _vsnwprintf(out, units, format, args);
#else
    int written = vswprintf(out, units, format, args);  // the native fuzz build
#endif
    va_end(args);
    if (written < 0 || static_cast<size_t>(written) >= units) {
        out[0] = L'\0';
        return false;
    }
    out[written] = L'\0';
    return true;
}

bool CopyText(wchar_t* out, size_t units, const wchar_t* text)
{
    size_t len = wcslen(text);
    if (units == 0 || len >= units) {
        if (units > 0)
            out[0] = L'\0';
        return false;
    }
    wmemcpy(out, text, len + 1);
    return true;
}

bool AppendText(wchar_t* text, size_t units, const wchar_t* tail)
{
    size_t len = wcslen(text);
    size_t add = wcslen(tail);
    if (len + add >= units)
        return false;
    wmemcpy(text + len, tail, add + 1);
    return true;
}

bool EndsWithBackslash(const wchar_t* text)
{
    size_t len = wcslen(text);
    return len > 0 && text[len - 1] == L'\\';
}

bool AppendBackslash(wchar_t* text, size_t units)
{
    if (EndsWithBackslash(text))
        return true;
    return AppendText(text, units, L"\\");
}

bool JoinPath(wchar_t* out, size_t units, const wchar_t* folder, const wchar_t* name)
{
    size_t folderLength = wcslen(folder);
    bool separator = !EndsWithBackslash(folder);
    size_t nameLength = wcslen(name);
    size_t total = folderLength + (separator ? 1 : 0) + nameLength;
    if (total >= units)
        return false;
    // folder may be out itself
    wmemmove(out, folder, folderLength);
    if (separator)
        out[folderLength++] = L'\\';
    wmemmove(out + folderLength, name, nameLength);
    out[total] = L'\0';
    return true;
}
