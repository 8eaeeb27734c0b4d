#pragma once
// The texts that registration and shortcuts build from the install folder.
// No <windows.h> here.

#include "platform/fixed_text.h"
#include "register/install_folder.h"
#include "register/install_folder_limits.h"

#include <cstddef>

// The key whose default value names the installed viewer: written by the
// registration, read by the next setup to find the earlier installation.
constexpr wchar_t kOpenCommandKey[] = L"SOFTWARE\\Classes\\Photarium\\shell\\open\\command";

constexpr int kRegistrationUnits = 264;   // most registration texts
constexpr int kThumbsCommandUnits = 312;  // the thumbnails command

struct RegistrationTexts {
    FixedText<kRegistrationUnits> installFolder;  // ending in a backslash
    FixedText<kRegistrationUnits> programPath;    // ...\photar64.exe
    FixedText<kRegistrationUnits> openCommand;    // "...\photar64.exe" "%1"
    FixedText<kThumbsCommandUnits> thumbsCommand; // "...\photar64.exe" "%1" /thumbs
    FixedText<kRegistrationUnits> programIcon;    // ...\photar64.exe,0
};

// Builds all texts from the install folder. Returns false, with every text
// empty, when the folder is not usable, so that nothing is ever written for
// a folder that was refused.
bool BuildRegistrationTexts(const InstallFolder& folder, RegistrationTexts& texts);
