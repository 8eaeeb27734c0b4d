#pragma once
// Text rules of the options page's target folder. No <windows.h> here.

#include "platform/fixed_text.h"

#include <cstddef>

// The target folder's label ("Zielverzeichnis") on the ready page and the
// folder browser's title, as loaded from the string table: a few words.
constexpr int kFolderLabelUnits = 50;

// The folder check of Next on the options page: false for an empty text, a
// text without a drive (second character not ':'), and a text whose
// directory, name or extension part reaches 256 characters. Blanks count.
bool IsAcceptableTargetFolder(const wchar_t* folder);

// What a browsed folder becomes: a final backslash, then "Photarium\" unless
// the last folder is already called so (any case); a drive root always gets
// it. When the result would not fit the path keeps what it had.
void AppendProductFolder(PathText& path);

// The part of the ready page's folder line ("Label: C:\A\B\C\") that is left
// out for "..." when the line is too wide: from head (past the drive's
// backslash) to tail (the backslash before the last folder), so that the
// label, the drive and the last folder stay. folderStart is where the folder
// begins. False when the folder has no such middle.
struct FolderLineMiddle {
    size_t head;
    size_t tail;
};
bool FindFolderLineMiddle(const wchar_t* line, size_t folderStart, FolderLineMiddle* middle);
