#pragma once
// Bounded formatting into fixed UTF-16 buffers. No <windows.h> here.

#include <cstddef>

constexpr int kTextUnits = 260;  // the program's texts: 259 characters and the terminator
// A folder the system hands back (the temporary or the current one) may pass
// 259 characters, and a report puts two texts side by side: twice the room.
constexpr int kLongTextUnits = 2 * kTextUnits;

// printf-style formatting (write %ls for wide strings) into out of units
// units. Returns true when the whole text fits; otherwise out is left empty
// and the result is false, so that nothing truncated is ever used.
bool FormatText(wchar_t* out, size_t units, const wchar_t* format, ...);

// Copies text into out when it fits (units including the terminator).
bool CopyText(wchar_t* out, size_t units, const wchar_t* text);

// Appends tail to text (in a buffer of units) when the whole of it fits;
// otherwise leaves text as it is and returns false.
bool AppendText(wchar_t* text, size_t units, const wchar_t* tail);

// Appends a backslash unless text already ends in one (an empty text gets
// one); leaves text as it is and returns false when there is no room.
bool AppendBackslash(wchar_t* text, size_t units);

// True when text ends in a backslash.
bool EndsWithBackslash(const wchar_t* text);

// folder, a backslash unless folder already ends in one (as AppendBackslash), then
// name, into out of units units; false (out unchanged) when it does not fit.
bool JoinPath(wchar_t* out, size_t units, const wchar_t* folder, const wchar_t* name);
