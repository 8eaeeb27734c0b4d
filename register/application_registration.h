#pragma once
// Registration of the installed viewer with the system.

#include "register/install_folder.h"

// Makes the shortcuts asked for, the folder and drive verbs (with the
// thumbnails shortcut), the viewer's program identifier, application and
// uninstall entries, its capabilities and registered-application line, and
// the file-type associations; when associate is set, also the store-app
// marks (Windows 8 and later) and a shell refresh, for the viewer in folder;
// formatFlags has one flag a format row. A folder that is not usable writes
// nothing. With
// userWrites 0 (the current user is nobody at the desktop) nothing is written
// under HKEY_CURRENT_USER: no user's choice, no store-app mark.
// Returns 1; single failures are not reported.
int RegisterApplication(int associate, const InstallFolder& folder, int startMenuGroup,
                        int desktopShortcut, int thumbnailsShortcut, int allUsers,
                        const int* formatFlags, int userWrites = 1);

// True when this process may write the machine-wide registration: make keys
// and set values below the uninstall entries and below SOFTWARE\Classes of
// HKEY_LOCAL_MACHINE. A standard user's process that runs unelevated (the
// manifest asks for the highest rights the user has) may not, and a 64-bit
// program gets no registry virtualization: every write would fail unseen.
bool CanWriteMachineRegistration();
