#pragma once
// Whether an icon library already installed stays in place.

// Looks at the installed library at path (the target folder's
// Plugins\Icons.dll): true (keep) when its version is newer than the shipped
// one, or the same version with another size, or when it comes from another
// company or names none, or when its version cannot be read (no memory, the
// file held or not readable, no version functions); false (overwrite) when
// it is older, the shipped file itself, has no version block, or does not
// exist.
bool KeepInstalledIconLibrary(const wchar_t* path);
