#pragma once
// The texts that registration and shortcuts build from the target folder.
// No <windows.h> here.

#include "register/install_folder_limits.h"

#include <cstddef>

// The key whose default value names the installed viewer: written by the
// registration, read by the next setup to find the earlier installation.
constexpr wchar_t kOpenCommandKey[] = L"SOFTWARE\\Classes\\Photarium\\shell\\open\\command";

constexpr int kRegistrationUnits = 264;   // most registration texts
constexpr int kThumbsCommandUnits = 312;  // the thumbnails command

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
