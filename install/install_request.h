#pragma once
// The options of one installation. Built by silent start-up from the command
// line or by the wizard's ready page, handed to RunInstall, which only reads it.

#include "platform/text_format.h"
#include "register/format_associations.h"

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
    int settingsFolderCut;  // the command line cut settingsFolder short: not used
    wchar_t logFile[kTextUnits];  // "/log=": the full path of the log, empty for the usual place
};

// All texts empty, all flags 0.
void ClearInstallRequest(InstallRequest& request);
