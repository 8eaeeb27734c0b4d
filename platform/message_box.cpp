#include "platform/message_box.h"

#include "platform/string_table.h"
#include "resources/resource.h"

int ShowMessage(HWND owner, UINT id, UINT type)
{
    wchar_t text[260];
    wchar_t caption[260];
    LoadMessage(id, text, 260);
    LoadMessage(IDS_CAPTION, caption, 260);
    return MessageBoxW(owner, text, caption, type);
}
