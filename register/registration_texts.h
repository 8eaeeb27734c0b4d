#pragma once
// The texts that registration and shortcuts build from the target folder.
// No <windows.h> here.

#include <cstddef>

constexpr int kRegistrationUnits = 264;   // most registration texts
constexpr int kThumbsCommandUnits = 312;  // the thumbnails command

// The longest installation folder, final backslash included, for which every
// text built from it fits its buffer. The binding one is the help shortcut's
// target: folder + "\help\photar32_deutsch.chm" in 260 units.
constexpr size_t kMaxInstallFolderChars = 233;

// True when targetFolder (at most 259 characters), trimmed and with a final
// backslash, has at most kMaxInstallFolderChars characters and is not empty.
bool InstallFolderFits(const wchar_t* targetFolder);

struct RegistrationTexts {
    wchar_t installFolder[kRegistrationUnits];  // trimmed, ending in a backslash
    wchar_t programPath[kRegistrationUnits];    // ...\photar64.exe
    wchar_t openCommand[kRegistrationUnits];    // "...\photar64.exe" "%1"
    wchar_t thumbsCommand[kThumbsCommandUnits]; // "...\photar64.exe" "%1" /thumbs
    wchar_t programIcon[kRegistrationUnits];    // ...\photar64.exe,0
};

// Builds all texts from targetFolder as the request holds it (untrimmed).
// Returns false, with every text empty, when the folder does not fit
// (see InstallFolderFits), so that nothing is ever written truncated.
bool BuildRegistrationTexts(const wchar_t* targetFolder, RegistrationTexts& texts);
