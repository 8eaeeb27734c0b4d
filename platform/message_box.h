#pragma once
// The program's message boxes.

#include <windows.h>

// Shows string id in a message box owned by owner, with the program's caption
// (every box of the program has it); type as for MessageBoxW. Returns the
// button chosen.
int ShowMessage(HWND owner, UINT id, UINT type);
