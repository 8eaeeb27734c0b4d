#pragma once
// Texts of the program's string table.

#include <windows.h>

// Loads string id into buffer (units including the terminator); empty when missing.
void LoadMessage(UINT id, wchar_t* buffer, int units);
