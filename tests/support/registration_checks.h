#pragma once
// What a registration of the viewer must leave in the registry and in the
// shell folders, with the values written out from the tables of the design,
// shared by the unit and end-to-end tests. Checks report through GoogleTest.

#include <windows.h>

#include <set>
#include <string>
#include <vector>

// One extension of the format table: row, extension, program identifier
// suffix, icon kind ("F", "P0", "P8", "P9").
struct ExpectedExtension {
    int row;
    const wchar_t* extension;
    const wchar_t* suffix;
    const wchar_t* icon;
};
extern const ExpectedExtension kExpectedExtensions[84];

// A REG_SZ value with exactly these characters and its terminating NUL.
void ExpectRegText(HKEY root, const std::wstring& key, const std::wstring& name,
                   const std::wstring& text);
void ExpectRegDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);

// The current user's choice of a program for an extension (no dot).
std::wstring UserChoice(const std::wstring& extension);
// The version the system reports to this process, read without the code
// under test; the one the prefix reports to programs started from now on.
bool SystemIsWindows8OrLater();
bool PrefixReportsWindows8OrLater();

// Removes everything a registration writes (keys, shortcut files, group
// folders) and puts marks of an earlier program on every extension key,
// "Open with" list and (but row 3's) user choice of the 84 extensions, so
// that a test sees what it touches.
void ResetRegistrationState();
// The mark ResetRegistrationState leaves: "Fremd.<ext>".
std::wstring ForeignProgId(const std::wstring& extension);

// Rows 1 to 24 of the application registration for an installation folder
// ending in one backslash; rows 1 to 4 only when withVerbs.
void ExpectApplicationRows(const std::wstring& installFolder, bool withVerbs);
// The uninstall entry's size (product's bytes in KB, rounded up), day, pages, quiet command.
struct ArchiveEntry;
void ExpectUninstallFacts(const std::wstring& installFolder, const std::vector<ArchiveEntry>& product);
// Rows 1 to 4 are absent.
void ExpectNoFolderVerbs();

// The 67 program identifiers, 84 capability values, the extension keys,
// "Open with" entries and (before Windows 8) user choices for the rows in
// selectedRows (the others keep their marks, apart from the machine-wide
// keys of jpg, png and tif).
void ExpectFormatRows(const std::wstring& installFolder, const std::set<int>& selectedRows);

// The five store-app marks are all present, or all absent.
void ExpectStoreAppMarks(bool present);

// Nothing of a registration is there: no keys, no shortcuts, marks untouched.
void ExpectNothingRegistered();

// The shortcut folders: desktop and programs group of either scope.
std::wstring DesktopFolder(bool allUsers);
std::wstring GroupFolder(bool allUsers);  // the programs folder + "Photarium" + backslash

// Shortcut files of the group / desktop with their fields, for an
// installation folder; withUninstall adds row 5 (systems before 6.2).
void ExpectGroupShortcuts(const std::wstring& installFolder, bool allUsers, bool withUninstall);
void ExpectDesktopShortcuts(const std::wstring& installFolder, bool allUsers, bool viewer,
                            bool thumbnails);

// A text dump of every value and shortcut field checked above, to compare
// two installations.
std::wstring SnapshotRegistration();
