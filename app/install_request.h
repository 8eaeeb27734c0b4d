#pragma once
// The options of one installation. Built by silent start-up from the command
// line or by the wizard's ready page, handed to RunInstall, which only reads it.

constexpr int kTextUnits = 260;        // 259 characters and the terminator
constexpr int kFormatCount = 62;       // rows of the format table
constexpr int kImageFormatCount = 48;  // rows 0 to 47 are the image formats

struct InstallRequest {
    wchar_t targetFolder[kTextUnits];
    int startMenuGroup;
    int desktopShortcut;
    int thumbnailsShortcut;
    int allUsers;
    wchar_t settingsFolder[kTextUnits];
    int formatFlags[kFormatCount];
    int associate;
    int silent;
};

// All texts empty, all flags 0.
void ClearInstallRequest(InstallRequest& request);
