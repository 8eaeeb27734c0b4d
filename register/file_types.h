#pragma once
// File-type associations: the viewer's program identifiers, its capability
// entries and, for selected formats, the extensions, "Open with" and, before
// Windows 8, the user's choice.

// Registers one extension (lower case, no dot) under the program identifier
// "Photarium.<suffix>" with the open command and icon text. The machine-wide
// extension key (the key of jpg, png and tif always) and the identifier
// under the extension's OpenWithProgids are written only when selected is
// nonzero; so is the current user's choice, only with userChoice nonzero and
// only where Windows does not keep that choice itself (UserChoiceIsWindowsOwn).
void AssociateExtension(const wchar_t* extension, const wchar_t* suffix, const wchar_t* command,
                        const wchar_t* iconText, int selected, int userChoice = 1);

// Every extension of every row of the format table, row 0 first.
// programIcon is the program path with ",0"; formatFlags has one flag a row.
void AssociateFormats(const wchar_t* openCommand, const wchar_t* programIcon,
                      const wchar_t* programPath, const int* formatFlags, int userChoice = 1);

// Marks five of Windows' own store-app program identifiers of the current
// user with "NoOpenWith", so that they stop claiming the viewer's types.
void HideStoreAppHandlers();
