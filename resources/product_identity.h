#pragma once
// Who the setup program installs: the one place for the release's version.
// Read by the .rc files (windres) and by the code, so macros only. The build
// passes PHOTARIUM_VERSION_MAJOR and PHOTARIUM_VERSION_MINOR (scripts/build
// --version 4.54); the minor number has two digits, so "%d.%d" and the
// shortcut's "%d.%2d" both print it as the dialog text does.

#ifndef PHOTARIUM_VERSION_MAJOR
#define PHOTARIUM_VERSION_MAJOR 4
#endif
#ifndef PHOTARIUM_VERSION_MINOR
#define PHOTARIUM_VERSION_MINOR 53
#endif

#define PHOTARIUM_TEXT_OF_(x) #x
#define PHOTARIUM_TEXT_OF(x) PHOTARIUM_TEXT_OF_(x)
// "4.53"
#define PHOTARIUM_VERSION_TEXT \
    PHOTARIUM_TEXT_OF(PHOTARIUM_VERSION_MAJOR) "." PHOTARIUM_TEXT_OF(PHOTARIUM_VERSION_MINOR)

// A window of this class means the viewer is running.
#define PHOTARIUM_WINDOW_CLASS L"Photarium"
// The viewer's program file in the target folder.
#define PHOTARIUM_PROGRAM_FILE L"photar64.exe"
