#pragma once
// Rules on archive entry names. No <windows.h> here.

#include "platform/fixed_text.h"

// Bytes of the buffer an entry name is read into (519 characters at most).
constexpr int kEntryNameBytes = 520;
// UTF-16 units of the same name converted.
constexpr int kEntryNameUnits = 324;
using EntryName = FixedText<kEntryNameUnits>;

// The text after the last "/" or "\" (the whole name when it has neither);
// empty for a folder entry.
const char* LastNamePart(const char* name);

// True when the name, with the letters A to Z lower-cased, contains
// "icons.dll" anywhere.
bool NamesIconLibrary(const char* name);

// False for a name that could reach outside the target folder: absolute
// ("/" or "\" first), with a drive or stream colon, or with a ".." component
// (also written with trailing dots or blanks, which Windows drops).
bool IsSafeEntryName(const char* name);
