#pragma once
// The byte work of turning a narrow settings file into UTF-16LE.
// No <windows.h> here.

#include <cstddef>
#include <cstdio>

// Converts one NUL-terminated line from the system code page into out
// (units units, cleared by the caller); what stops at the first NUL is written.
using CodePageConverter = void (*)(const char* line, wchar_t* out, int units);

// Reads the first two bytes of source: true when they are FF FE. Otherwise
// (also for a file shorter than two bytes) source is back at its start.
bool BeginsWithUtf16Mark(FILE* source);

// The drive and folder of activeFile followed by "photar64.ini_temp", into
// out of 260 units. Empty (and false) when it does not fit.
bool FormTempConversionPath(const wchar_t* activeFile, wchar_t* out);

// Writes the byte-order mark and the warning header in UTF-16LE.
void WriteUtf16Header(FILE* target);

// Converts source line by line (at most 2047 bytes at a time, line endings
// kept) into target as UTF-16LE. Returns the number of pieces converted.
int ConvertLinesToUtf16(FILE* source, FILE* target, CodePageConverter convert);
