#pragma once
// Texts of the program's string table.

#include "platform/fixed_text.h"

#include <windows.h>

// Loads string id into message; empty when missing. LoadStringW cuts a
// longer string to what message holds and terminates it.
template <size_t Units>
void LoadMessage(UINT id, FixedText<Units>& message)
{
    message.Clear();
    LoadStringW(GetModuleHandleW(nullptr), id, message.Buffer(), static_cast<int>(message.kUnits));
}
