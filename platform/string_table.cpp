#include "platform/string_table.h"

void LoadMessage(UINT id, wchar_t* buffer, int units)
{
    if (units <= 0)
        return;
    buffer[0] = L'\0';
    LoadStringW(GetModuleHandleW(nullptr), id, buffer, units);
}
