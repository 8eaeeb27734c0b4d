#pragma once
// Shortcut files on the desktop and in the start menu's program group.
// Each shortcut initialises and releases the component library around itself.

// A shortcut on the desktop of the current user, or of all users when
// allUsers is nonzero. iconFile, description and arguments may be null (not
// set); iconIndex is used with iconFile. Returns 1 when the file was saved.
int CreateDesktopShortcut(const wchar_t* target, const wchar_t* fileName, const wchar_t* iconFile,
                          int iconIndex, const wchar_t* description, const wchar_t* arguments,
                          int allUsers);

// A shortcut in folder (ending in a backslash), without a description.
// arguments and iconFile may be null. Returns 1 when the file was saved.
int CreateShortcutInFolder(const wchar_t* folder, const wchar_t* fileName, const wchar_t* target,
                           const wchar_t* arguments, const wchar_t* iconFile, int iconIndex);

// The program group "Photarium" in the programs folder of the current user or
// of all users: the viewer, its thumbnails mode, the uninstaller (before
// Windows 8 only), the text files and the help; removes the group shortcuts
// of the two versions before (this minor version less one and less two, as
// "Photarium 64 <major>.<minor>.lnk"). installFolder ends in a backslash.
// Returns the result of the last shortcut (the help).
int CreateStartMenuGroup(const wchar_t* installFolder, int allUsers);
