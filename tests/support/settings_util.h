#pragma once
// Helpers for tests of the viewer's settings file.

#include <string>

// text as UTF-16LE bytes (no byte-order mark)
std::string Utf16Le(const std::wstring& text);

// What the conversion makes of narrow text: FF FE, the warning header, then
// the text widened unit by unit (for ASCII and Windows-1252 text).
std::string ConvertedBytes(const std::string& narrowText);

// One key through GetPrivateProfileStringW, or "<missing>".
std::wstring ReadProfile(const std::wstring& file, const wchar_t* section, const wchar_t* key);

// How often needle occurs in haystack.
size_t CountOf(const std::string& haystack, const std::string& needle);
