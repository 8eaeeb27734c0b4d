#pragma once
// The byte work of turning a narrow settings file into UTF-16LE.
// No <windows.h> here.

#include "platform/fixed_text.h"

#include <cstddef>
#include <cstdio>

// A piece of a line converted: at most 2047 bytes read, each at most one unit.
constexpr int kSettingsPieceBytes = 2048;
using ConvertedPiece = FixedText<kSettingsPieceBytes>;

// Converts one NUL-terminated line from the system code page into out
// (cleared by the caller); what stops at the first NUL is written.
using CodePageConverter = void (*)(const char* line, ConvertedPiece& out);

// Reads the first two bytes of source: true when they are FF FE. Otherwise
// (also for a file shorter than two bytes) source is back at its start.
bool BeginsWithUtf16Mark(FILE* source);

enum class SettingsEncoding {
    kNarrow,                      // the system code page
    kUtf16,                       // UTF-16LE with its byte-order mark
    kUtf16WithoutMark,            // UTF-16LE, told by its zero bytes
    kUtf8WithMark,                // EF BB BF first
    kUtf16BigEndian,              // FE FF first
    kUtf16BigEndianWithoutMark,   // told by its zero bytes, as kUtf16WithoutMark
    kUndecided,                   // the bytes speak for more than one: left alone
};

// What the bytes of a settings file without a mark say about its encoding,
// gathered piece by piece. UTF-16 shows in the characters below U+0100 that
// every settings file has ("[", "=", the line ends, the keys), each an
// ASCII byte and a zero: a place is such a unit after another one, or a line feed
// (little-endian: 0A 00; big-endian the mirror, 00 0A) that does not follow
// a carriage-return byte. Narrow text shows in CR LF as two bytes side by
// side, which no UTF-16 line end has. The unit 00 00 (U+0000) stands in no
// UTF-16 text, and zero bytes that come only in runs are what a crash or an
// editor leaves in narrow text, not the halves of characters.
struct EncodingEvidence {
    size_t littlePlaces = 0, bigPlaces = 0, narrowLineEnds = 0;
    size_t zeros = 0, loneZeros = 0, zeroRun = 0;
    bool zeroUnit = false;
    // carried from one piece to the next
    unsigned long long offset = 0;
    int last = -1, beforeLast = -1;
    bool littleLow = false, bigLow = false;
};
void GatherEncodingEvidence(EncodingEvidence& evidence, const unsigned char* bytes, size_t count);

// A verdict from the evidence: false while there is none yet and more of
// the file is to come (whole false). With the whole file read there is
// always one; kUndecided when the places of two readings are as many.
bool JudgeEncoding(const EncodingEvidence& evidence, bool whole, SettingsEncoding* verdict);

// The encoding that the mark at the start of bytes names; kNarrow when
// there is none.
SettingsEncoding EncodingOfMark(const unsigned char* bytes, size_t count);

// The encoding of a settings file from all of its count bytes: a mark
// first, else the verdict of the evidence.
SettingsEncoding DetectSettingsEncoding(const unsigned char* bytes, size_t count);

// Copies the rest of source into target: with swapPairs each two bytes
// change places (an odd last one stays as it is), with dropZeros every zero
// byte is left out. False when a read or write failed.
bool CopyRest(FILE* source, FILE* target, bool swapPairs, bool dropZeros);

// Whether a conversion may take the place of its original: false only when
// original (its bytes less their zeros, as narrow text) holds a key line
// ("name=value", not a comment) and converted holds none (read from its
// start, after the mark as UTF-16LE when convertedIsUtf16). Reads both from
// their start and stops at the first key.
bool KeepsAKey(FILE* original, FILE* converted, bool convertedIsUtf16);

// The drive and folder of activeFile followed by "photar64.ini_temp", into
// out. Empty (and false) when it does not fit.
bool FormTempConversionPath(const wchar_t* activeFile, PathText& out);

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
