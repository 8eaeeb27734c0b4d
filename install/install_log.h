#pragma once
// The install log of silent mode: "Photarium_Install.log" in the current folder.

#include "platform/fixed_text.h"

// Appends one entry (date, time, text and a separator line). Returns false
// when the file cannot be opened or the entry not written whole (a full
// drive); nothing is reported.
bool WriteInstallLog(const wchar_t* text);

// The same in the log of another folder (ending in "\"); false also when the
// path would not fit.
bool WriteInstallLogIn(const wchar_t* folder, const wchar_t* text);

// WriteInstallLog, and when the log of the current folder cannot take the
// entry (the full target drive an unpacking stopped on), the log of
// startFolder (ending in "\", empty for none) unless that is the same one:
// a silent run never fails without a word.
void WriteInstallLogOrIn(const wchar_t* startFolder, const wchar_t* text);

// The same in logFile, the full path "/log=" named, when it is not empty.
bool WriteInstallLogTo(const wchar_t* logFile, const wchar_t* text);

// Makes logFile (as "/log=" gave it) the full path of a log that
// takes entries: its "%NAME%" references expanded, made absolute against the
// current folder (which the unpacking changes), its folder created, the file
// opened as every entry opens it. False, with logFile emptied, when it cannot
// take the log: the entries then go where they go without the switch.
bool PrepareInstallLogFile(PathText& logFile);
