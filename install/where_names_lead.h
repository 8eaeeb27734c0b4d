#pragma once
// Where a name leads: to the file or folder of that name, or through a link
// to another place. Told by the kind of reparse point and by the path below
// its volume that an open handle reached, which Windows gives on every volume
// and share (a final path it does not).

#include "platform/scoped_handle.h"
#include "platform/text_format.h"

#include <windows.h>

#include <cstddef>

// The installer's own files: the log in a start folder of kLongTextUnits
// (its name fits in 40 units), and such a path as the system names it back
// with "\\?\UNC\" ahead.
constexpr int kLogPathUnits = kLongTextUnits + 40;
constexpr int kFullPathUnits = kLogPathUnits + 40;

// Reparse points by their kind. Those that name another place (symbolic
// links, junctions and mount points: Windows' name surrogates) lead
// elsewhere; the others are the file itself (OneDrive's cloud files,
// deduplicated or compressed files) and are taken like any file or folder.
bool ReparseTagLeadsElsewhere(DWORD tag);
// The same for an open handle with the attributes its information gave;
// a reparse point whose tag cannot be read counts as leading elsewhere.
bool IsLinkByItsKind(HANDLE handle, DWORD attributes);

// True when folder (full, ending in "\") is reached by its own name from
// its drive or share root, through no link, junction or mount on the way.
bool IsFolderReachedDirectly(const wchar_t* folder);

// Two paths naming the same place as the file system compares them (no case).
bool SamePath(const wchar_t* a, const wchar_t* b);

// Where a handle opened at a name leads: to that name, or elsewhere.
enum class HandleLeads { kUnknown, kElsewhere, kToName };

// Where the open file leads, against name (length units) in the open folder,
// by their paths below the volume. kElsewhere for what the system followed
// to another place (Unix links under Wine).
HandleLeads WhereHandleLeads(HANDLE file, HANDLE folder, const wchar_t* name, size_t length);

// A folder opened by its path, wherever that leads.
ScopedHandle OpenFolderByPath(const wchar_t* folder);
