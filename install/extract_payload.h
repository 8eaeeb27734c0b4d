#pragma once
// Unpacking the product archive carried as resource "ZIP" 212.

#include <unzip.h>

// Name of the temporary archive in the system's temporary folder.
extern const wchar_t kTempArchiveName[];

// Copies the archive out of the resources into the temporary archive file,
// unpacks it into targetFolder (absolute, ending in "\") and deletes the
// temporary file. keepFlag 1 leaves every entry naming "icons.dll" unwritten.
// Returns 0 when the archive was opened and every entry was processed;
// -1 when the resource is missing or empty, the temporary file cannot be
// created, the archive cannot be opened, the folder cannot be entered, or
// the extraction stopped at a damaged entry or a failed write.
// Leaves the process's current folder at targetFolder once entered.
int ExtractPayload(const wchar_t* targetFolder, int keepFlag);

// Opens the archive at archivePath (Win32 file functions, read access shared
// for reading), makes targetFolder the current folder and extracts every
// entry. Same results as ExtractPayload.
int UnzipToFolder(const wchar_t* archivePath, const wchar_t* targetFolder, int keepFlag);

// Extracts the entries of an open archive, from its current entry on, into
// the current folder. Entries whose file cannot be created, entries with
// unsafe or too long names, and (keepFlag 1) the icon library are skipped.
// Returns 0, or -1 when an entry stopped the extraction (unreadable entry
// information, failed move to the next entry, no copy buffer, entry not
// readable, read or write error, CRC mismatch) or when not one of the file
// entries could be created (a read-only drive); what was written stays.
int ExtractEntries(unzFile archive, int keepFlag);
