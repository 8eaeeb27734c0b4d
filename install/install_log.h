#pragma once
// The install log of silent mode: "Photarium_Install.log" in the current folder.

// Appends one entry (date, time, text and a separator line). When the file
// cannot be opened the entry is lost without notice.
void WriteInstallLog(const wchar_t* text);
