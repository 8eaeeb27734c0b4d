#pragma once
// The viewer's settings file "photar64.ini": where it lives, its language and
// toolbar defaults, and its conversion to UTF-16.

#include <cstdio>

// Writes the settings keys for an installation into targetFolder (trimmed)
// and, when settingsFolder is not empty, into that folder with its %NAME%
// references expanded (created when missing). activeFile (260 units)
// receives the path of the file the viewer will read; empty when it would
// not fit. Failures of single writes are not reported.
void UpdateSettingsFile(const wchar_t* targetFolder, const wchar_t* settingsFolder,
                        wchar_t* activeFile);

// Turns the narrow settings file activeFile, opened by the caller with "rb"
// as source, into UTF-16LE with a byte-order mark and a warning header, by
// way of "photar64.ini_temp" beside it. Closes source. Returns 1 when the
// file was already UTF-16, when nothing was converted or when the
// replacement succeeded; 0 when the replacement failed (the temporary file
// then remains).
int ConvertSettingsFileToUtf16(const wchar_t* activeFile, FILE* source);
