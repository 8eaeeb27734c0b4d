#include "platform/message_box.h"

#include "platform/fixed_text.h"
#include "platform/string_table.h"
#include "resources/resource.h"

int ShowMessage(HWND owner, UINT id, UINT type)
{
    FixedText<kTextUnits> text, caption;
    LoadMessage(id, text);
    LoadMessage(IDS_CAPTION, caption);
    return MessageBoxW(owner, text, caption, type);
}
