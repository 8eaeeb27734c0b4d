#include "settings_util.h"

#include <windows.h>

std::string Utf16Le(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>((unit >> 8) & 0xFF);
    }
    return bytes;
}

std::string ConvertedBytes(const std::string& narrowText)
{
    // Windows-1252 agrees with Latin-1 except in 0x80-0x9F, which tests avoid
    std::wstring wide;
    for (char c : narrowText)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return "\xFF\xFE" + Utf16Le(L"; UNICODE FILE - edit with care ;-)\r\n\r\n" + wide);
}

std::wstring ReadProfile(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[260];
    GetPrivateProfileStringW(section, key, L"<missing>", value, 260, file.c_str());
    return value;
}

size_t CountOf(const std::string& haystack, const std::string& needle)
{
    size_t count = 0;
    for (size_t pos = haystack.find(needle); pos != std::string::npos;
         pos = haystack.find(needle, pos + 1))
        ++count;
    return count;
}
