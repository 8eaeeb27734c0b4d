#pragma once
// The options of one installation. Built by silent start-up from the command
// line or by the wizard's ready page, handed to RunInstall, which only reads it.

#include "platform/fixed_text.h"
#include "register/format_associations.h"

struct InstallRequest {
    PathText targetFolder;  // as typed or given: RunInstall makes the install folder of it
    int startMenuGroup;
    int desktopShortcut;
    int thumbnailsShortcut;
    int allUsers;
    PathText settingsFolder;
    int formatFlags[kFormatCount];
    int associate;
    int silent;
    int settingsFolderCut;  // the command line cut settingsFolder short: not used
    PathText logFile;  // "/log=": the full path of the log, empty for the usual place
};

// All texts empty, all flags 0.
void ClearInstallRequest(InstallRequest& request);
