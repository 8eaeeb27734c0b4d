#pragma once
// Unpacking the product archive carried as resource "ZIP" 212.

#include "install/unzip_entries.h"

// Name of the temporary archive in the system's temporary folder.
extern const wchar_t kTempArchiveName[];

// Copies the archive out of the resources into the temporary archive file,
// unpacks it into targetFolder (absolute, ending in "\") and deletes the
// temporary file. keepFlag 1 leaves every entry naming "icons.dll" unwritten.
// Returns 0 when the archive was opened and every entry was processed;
// -1 when the resource is missing or empty, the temporary file cannot be
// created, the archive cannot be opened, the folder cannot be entered, or
// the extraction stopped at a damaged entry or a failed write (then no
// file of an earlier installation has changed). Each file that kept its
// earlier state goes to report (when given) after a result of 0.
// Leaves the process's current folder at targetFolder once entered.
int ExtractPayload(const wchar_t* targetFolder, int keepFlag, FileNotReplaced* report = nullptr);
