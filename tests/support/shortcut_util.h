#pragma once
// Reading shortcut files and finding the shell folders they go to, as a user's
// shell sees them.

#include <string>

struct ShortcutFields {
    std::wstring target;       // IShellLinkW::GetPath with SLGP_RAWPATH
    std::wstring arguments;
    std::wstring iconFile;
    int iconIndex = 0;
    std::wstring description;
};

// Loads a .lnk file with IShellLinkW through IPersistFile::Load.
bool ReadShortcut(const std::wstring& path, ShortcutFields* fields);

// A special folder (CSIDL_*) ending in a backslash, or "" when unknown.
std::wstring ShellFolder(int csidl);
