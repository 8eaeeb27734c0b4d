#include "platform/string_table.h"

#include "resources/resource.h"

void LoadMessage(UINT id, wchar_t* buffer, int units)
{
    if (units <= 0)
        return;
    buffer[0] = L'\0';
    LoadStringW(GetModuleHandleW(nullptr), id, buffer, units);
}

int ShowMessage(HWND owner, UINT id, UINT type)
{
    wchar_t text[260];
    wchar_t caption[260];
    LoadMessage(id, text, 260);
    LoadMessage(IDS_CAPTION, caption, 260);
    return MessageBoxW(owner, text, caption, type);
}
