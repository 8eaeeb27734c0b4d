#pragma once
// Unpacking the product archive carried as resource "ZIP" 212.

#include <unzip.h>

// Told of each product file that kept its earlier state (held open by
// another program, a link or a file in the way of its folder): its full path.
typedef void (*FileNotReplaced)(const wchar_t* path);

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
int ExtractPayload(const wchar_t* targetFolder, int keepFlag, FileNotReplaced report = nullptr);

// Opens the archive at archivePath (Win32 file functions, read access shared
// for reading), makes targetFolder the current folder and extracts every
// entry. Same results as ExtractPayload.
int UnzipToFolder(const wchar_t* archivePath, const wchar_t* targetFolder, int keepFlag,
                  FileNotReplaced report = nullptr);

// Extracts the entries of an open archive, from its current entry on, into
// targetFolder: each file is written and stamped under a fresh name beside
// its final one, and all take their final names once every entry is
// written. Entries with unsafe or too long names, and (keepFlag 1) the icon
// library are skipped. Returns 0, or -1 when an entry stopped the extraction
// (unreadable entry information, failed move to the next entry, no memory,
// entry not readable, read or write error, full drive, CRC mismatch) or when
// not one file could take its final name (a read-only drive), or when the
// thread copying (if given) did not end with 1; then the fresh files and the
// folders made on the way are gone, and nothing else changed.
int ExtractEntries(unzFile archive, const wchar_t* targetFolder, int keepFlag,
                   FileNotReplaced report, void* copying = nullptr);
