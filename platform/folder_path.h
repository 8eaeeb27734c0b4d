#pragma once
// Trimming and recursive creation of folder paths.

#include "platform/fixed_text.h"

// Removes trailing spaces; removes leading spaces when the text is shorter
// than 260 characters. path is a NUL-terminated buffer of 260 units.
void TrimSpaces(wchar_t* path);

// What MakeFolderPath needs of the file system; lets the text rules be tested
// and fuzzed without Windows.
class FolderSystem {
public:
    virtual ~FolderSystem() = default;
    // True when the folder exists and can be made the current folder.
    // The current folder is the same afterwards.
    virtual bool CanEnter(const wchar_t* path) = 0;
    // Creates one folder; failures (existing folder, drive, share) are ignored.
    virtual void CreateOne(const wchar_t* path) = 0;
};

// Trims the path in place, makes it end in a backslash (unless it has 259
// characters) and creates every folder of it.
// Returns 1 when the folder exists at the end, 0 otherwise.
int MakeFolderPath(PathText& path, FolderSystem& fileSystem);

// The same on the real file system.
int MakeFolderPath(PathText& path);

// The process's current folder with a final backslash; empty when it does
// not fit.
void CurrentFolder(FixedText<kLongTextUnits>& folder);

// True when path (trimmed) names a folder below the root of a drive ("C:\A")
// or of a share ("\\server\share\A"): not relative to a current folder, not
// a drive or share itself. "/" counts as a separator, components of blanks
// only, "." and ".." are resolved. After a "\\?\" or "\\.\" prefix a drive
// ("\\?\C:\A") or "UNC\server\share" must follow; other such forms are false.
bool IsFolderBelowRoot(const wchar_t* path);
