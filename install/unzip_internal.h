#pragma once
// Shared by the payload step and UnzipToFolder.

#include "install/extract_payload.h"

#include <ioapi.h>

// UnzipToFolder over a given set of file functions; copying as ExtractEntries.
int UnzipWithFunctions(zlib_filefunc64_def* functions, const wchar_t* archivePath,
                       const wchar_t* targetFolder, int keepFlag, FileNotReplaced report,
                       void* copying = nullptr);
