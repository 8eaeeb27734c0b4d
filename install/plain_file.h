#pragma once
// Files the installer writes in folders that others may write too (the start
// folder of the setup program, a settings folder outside the target): opened
// without following a link planted at their names.

#include "install/where_names_lead.h"
#include "platform/scoped_handle.h"

#include <windows.h>

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

// Removes the name folder\name itself, a file left by an earlier run: a link
// there goes, not what it points to. Where the system hands us the target
// instead (Unix links seen through Wine) the handle leads elsewhere and
// nothing is removed. kToName when the name was marked to go.
HandleLeads RemoveName(const wchar_t* folder, const wchar_t* name);

// Deletes path when it is a plain file of size 0 (what a failed first write
// leaves). True when it went.
bool DeleteIfEmptyPlainFile(const wchar_t* path);
