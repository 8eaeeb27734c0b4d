#pragma once
// The bytes of one install-log entry. No <windows.h> here.

#include <string>

// "date - time: text\n" and the separator line; each UTF-16 unit up to U+00FF
// becomes that byte, any other "?", and every line feed CR LF.
std::string FormatInstallLogEntry(const wchar_t* date, const wchar_t* time, const wchar_t* text);
