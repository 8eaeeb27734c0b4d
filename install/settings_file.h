#pragma once
// The viewer's settings file "photar64.ini": where it lives, its language and
// toolbar defaults, and its conversion to UTF-16.

#include "platform/fixed_text.h"
#include "platform/scoped_file.h"
#include "register/install_folder.h"

enum SettingsFolderResult {
    kSettingsInTargetFolder = 0,  // or in the settings folder, as asked
    kSettingsFolderTooLong = 1,   // would not fit, or cannot take the file: not used
};

// Writes the settings keys for an installation into the install folder and,
// when settingsFolder is not empty, into that folder with its %NAME%
// references expanded (created when missing). A settings folder that
// expands to nothing is none; one whose settings file would pass 259
// characters, whose references cannot be resolved whole, or that cannot
// take its settings file (a file in its place, a link at the file's name, no
// rights, a full drive) is not used: kSettingsFolderTooLong, and the
// settings stay in the target folder. activeFile receives the path of the
// file the viewer will read; empty when there is none to convert (it would not fit, it is a link, or nothing could be written to it). Files
// that are links are left alone; a UTF-16 file without its mark gets it, and
// a UTF-8 file with its mark and a big-endian UTF-16 one become UTF-16LE,
// before anything is written to them. Failures of single writes are not
// reported.
int UpdateSettingsFile(const InstallFolder& folder, const wchar_t* settingsFolder,
                       PathText& activeFile);

// The settings file at path opened for reading ("rb") when it is a plain
// file of one name, not a link; not valid otherwise.
ScopedFile OpenSettingsFile(const wchar_t* path);

// Turns the narrow settings file activeFile, opened by the caller with "rb"
// (OpenSettingsFile) as source, into UTF-16LE with a byte-order mark and a
// warning header, by way of "photar64.ini_temp" beside it.
// Returns 1 when the file was already UTF-16, when nothing was converted or
// when the replacement succeeded; 0 when the replacement failed (the temporary file
// then remains). A file that begins with the UTF-8 mark is converted from
// UTF-8 without it. The original is replaced only by a complete copy: when a
// write, the flush or the close of the copy fails, the original stays and
// the copy goes.
int ConvertSettingsFileToUtf16(const wchar_t* activeFile, ScopedFile source);
