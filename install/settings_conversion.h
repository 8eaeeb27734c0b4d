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

enum class SettingsEncoding {
    kNarrow,            // the system code page
    kUtf16,             // UTF-16LE with its byte-order mark
    kUtf16WithoutMark,  // UTF-16LE, told by its zero bytes
    kUtf8WithMark,      // EF BB BF first
    kUtf16BigEndian,    // FE FF first
};

// The encoding of a settings file from its first count bytes, told from all
// of them. Without a mark, UTF-16LE shows in the characters below U+0100
// that every settings file has ("[", "=", the line ends, the keys), each a
// byte and a zero: two places where two of them follow each other or a line
// feed stands decide, whatever script the rest is written in. A narrow or
// UTF-8 file holds zero bytes only by accident, and a stray one, or a run of
// them, makes at most one such place.
SettingsEncoding DetectSettingsEncoding(const unsigned char* bytes, size_t count);

// The drive and folder of activeFile followed by "photar64.ini_temp", into
// out of 260 units. Empty (and false) when it does not fit.
bool FormTempConversionPath(const wchar_t* activeFile, wchar_t* out);

// Writes the byte-order mark and the warning header in UTF-16LE; false when
// a write failed.
bool WriteUtf16Header(FILE* target);

// Converts source line by line (at most 2047 bytes at a time, line endings
// kept) into target as UTF-16LE. Returns the number of pieces converted, or
// -1 when a write failed. With wholeSequences a piece never ends inside a
// UTF-8 sequence (the rest of it starts the next piece). Zero bytes are
// dropped; every other byte read is carried.
int ConvertLinesToUtf16(FILE* source, FILE* target, CodePageConverter convert,
                        bool wholeSequences = false);
