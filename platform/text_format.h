#pragma once
// Bounded formatting into fixed UTF-16 buffers. No <windows.h> here.

#include <cstddef>

// printf-style formatting (write %ls for wide strings) into out of units
// units. Returns true when the whole text fits; otherwise out is left empty
// and the result is false, so that nothing truncated is ever used.
bool FormatText(wchar_t* out, size_t units, const wchar_t* format, ...);

// Copies text into out when it fits (units including the terminator).
bool CopyText(wchar_t* out, size_t units, const wchar_t* text);
