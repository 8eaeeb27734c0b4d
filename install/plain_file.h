#pragma once
// Files the installer writes in folders that others may write too (the start
// folder of the setup program, a settings folder outside the target): opened
// without following a link planted at their names.

#include "platform/scoped_handle.h"
#include "platform/text_format.h"

#include <windows.h>

// The installer's own files: the log in a start folder of kLongTextUnits
// (its name fits in 40 units), and such a path as the system names it back
// with "\\?\UNC\" ahead.
constexpr int kLogPathUnits = kLongTextUnits + 40;
constexpr int kFullPathUnits = kLogPathUnits + 40;

// Opens path (a full path or a name in the current folder) with access and
// share; with OPEN_ALWAYS a missing file is created (CREATE_NEW, so never
// through a dangling link) and *created is set. Returns no handle (not
// IsValid) when the name is a link, a folder, a file with more than one
// name, or when the handle reached another path than the one asked for (a
// link the system followed, as Wine does with Unix links). The file is
// opened by its name in its folder, so no final path is asked for. A created
// file can be deleted through the handle (it is opened with DELETE access).
ScopedHandle OpenPlainFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                           bool* created = nullptr);

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

// Removes the name folder\name itself, a file left by an earlier run: a link
// there goes, not what it points to. Where the system hands us the target
// instead (Unix links seen through Wine) the handle leads elsewhere and
// nothing is removed. kToName when the name was marked to go.
HandleLeads RemoveName(const wchar_t* folder, const wchar_t* name);

// 64 bits for a name of ours that nobody can guess ahead.
unsigned long long FreshNameBits();

// Marks a file opened with DELETE access to go when its last handle closes.
bool DeleteOnClose(HANDLE file);

// Deletes path when it is a plain file of size 0 (what a failed first write
// leaves). True when it went.
bool DeleteIfEmptyPlainFile(const wchar_t* path);

// Writes size bytes to file in pieces of kWritePieceBytes; true when every
// byte was written, false at the first write that failed or fell short. One
// write of many megabytes makes the kernel take large page-cache blocks,
// which on virtual machines that hand free memory back to their host stall
// for hundreds of milliseconds; pieces do not.
constexpr DWORD kWritePieceBytes = 256 * 1024;
bool WriteInPieces(HANDLE file, const void* bytes, DWORD size);
