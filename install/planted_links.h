#pragma once
// Links on the way to the target folder that nobody trusted made. Any user
// may make a junction below C:\ at a name an administrator is likely to
// install into ("C:\Photarium"); the elevated program would then write, and
// clear its leftovers, wherever that junction points.

#include <windows.h>

// The owners whose links are followed: the Administrators group (an elevated
// administrator's files belong to it), the system, TrustedInstaller and the
// account that runs the installer. runningUser may be null.
bool IsTrustedLinkOwner(PSID owner, PSID runningUser);

// True when an existing folder on the way to folder (each one below the
// drive or share root, folder itself included) is a junction, mount point or
// symbolic link whose owner is not trusted, or cannot be read. Folders past
// the first missing one are the installation's own to make.
bool HasPlantedLinkOnTheWay(const wchar_t* folder);
