#pragma once
// Texts of the program's string table.

#include <windows.h>

// Loads string id into buffer (units including the terminator); empty when missing.
void LoadMessage(UINT id, wchar_t* buffer, int units);

// Shows string id in a message box owned by owner, with the program's caption
// (every box of the program has it); type as for MessageBoxW. Returns the
// button chosen.
int ShowMessage(HWND owner, UINT id, UINT type);
