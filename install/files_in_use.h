#pragma once
// Which programs use the product's files, asked of Windows' Restart Manager.
// A viewer's window is found on the caller's desktop only; the Restart
// Manager lists the processes using a file whatever session they run in,
// each with its session's id (another user's after fast user switching, and
// the desktop's when the caller is the system account in session 0).

#include "platform/fixed_text.h"
#include "register/install_folder.h"

#include <windows.h>

// True when a process runs the viewer's program installed in folder. False
// when none does, when folder is not usable or holds no viewer, and whenever
// the Restart Manager cannot tell (missing, failing, or a stub that lists nothing, as
// Wine's): the installation then goes on as before.
bool IsViewerRunningFrom(const InstallFolder& folder);

// The name of a program that holds the file at path (the name the Restart
// Manager gives it, else its program file's name) into name. False when none
// does, when the name does not fit, or when the Restart Manager cannot tell.
bool FindFileHolder(const wchar_t* path, PathText& name);

// The decision for one process the Restart Manager listed (its id and start
// time): true when it runs the program file at program, by whatever name or
// link it was started, and when its security descriptor does not let us see
// what it runs (another account's): being listed, it uses the product's files.
// False when it runs another program or is gone.
bool MayRunProgram(DWORD processId, const FILETIME& started, const wchar_t* program);
