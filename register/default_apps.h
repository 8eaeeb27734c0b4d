#pragma once
// Who makes the viewer the user's default for a file type. Windows 8 and
// later keep that choice (FileExts\.EXT\UserChoice) with a hash only their
// own Default apps pages compute; a choice written without it is taken for
// tampering, reset to Windows' own app and announced to the user as "An app
// default was reset". There the user chooses on Windows' page, and the
// installation only offers the viewer ("Open with", the capabilities).

// True where Windows keeps the user's choice itself (6.2 and later).
bool UserChoiceIsWindowsOwn();

// Opens Windows' page where the user makes the viewer a default: on Windows
// 10 and 11 the Settings app's Default apps page, which Windows 11 (21H2 and
// 22H2 with the 2023-04 update, 23H2 and later) opens at the viewer's own
// entry and earlier versions at its start; on Windows 8 and 8.1 the Control
// Panel's page of the viewer's associations. Returns 1 when Windows took
// the request, 0 otherwise (nothing else depends on it).
int OpenDefaultAppsSettings();
