#pragma once
// Unpacking the product archive carried as resource "ZIP" 212.

#include "install/file_not_replaced.h"

// Name of the temporary archive in the system's temporary folder.
extern const wchar_t kTempArchiveName[];

// Unpacks the archive the program carries into targetFolder (absolute,
// ending in "\"), reading it from the resource in memory while a thread of
// its own writes it into the temporary archive file, which goes at the end.
// keepFlag 1 leaves every entry naming "icons.dll" unwritten. Returns 0 when
// every entry was processed; -1 when the resource is missing or empty, the
// temporary file cannot be created or written whole, the archive cannot be
// opened, the folder cannot be entered, or the extraction stopped at a
// damaged entry or a failed write (then no file of an earlier installation
// has changed). Each file that could not be written or take its name goes
// to report (when given) ahead of that -1. Leaves the process's current
// folder at targetFolder once entered, unless the temporary file was not
// written whole.
int ExtractPayload(const wchar_t* targetFolder, int keepFlag, FileNotReplaced* report = nullptr);
