#include "resources/resource.h"
#include "wizard/wiz_property_page.h"

#include <string>

void LoadWhatsNewText(CWizPropertyPage* page)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_WHATSNEW), L"TXT");
    if (resource == nullptr)
        return;
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr)
        return;
    const void* data = LockResource(loaded);
    if (data == nullptr)
        return;
    // the resource carries no terminator; the byte-order mark stays in the text
    DWORD bytes = SizeofResource(module, resource);
    std::wstring text(static_cast<const wchar_t*>(data), bytes / sizeof(wchar_t));
    page->SetDlgItemText(IDC_WHATS_NEW_TEXT, text.c_str());
}
