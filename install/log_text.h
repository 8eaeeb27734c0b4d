#pragma once
// The bytes of one install-log entry. No <windows.h> here.

#include <cstddef>

// "date - time: text\n" and the separator line; each UTF-16 unit up to U+00FF
// becomes that byte, any other "?", and every line feed CR LF. Writes the
// bytes (no terminator) to out unless it is null; returns their count, so a
// first call with null gives the size of the buffer.
size_t FormatInstallLogEntry(const wchar_t* date, const wchar_t* time, const wchar_t* text,
                             char* out);
