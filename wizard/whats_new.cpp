#include "wizard/whats_new.h"

#include "resources/resource.h"
#include "wizard/wiz_property_page.h"

#include <cwchar>
#include <memory>
#include <new>

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
    size_t units = SizeofResource(module, resource) / sizeof(wchar_t);
    std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[units + 1]);
    if (!text)
        return;
    wmemcpy(text.get(), static_cast<const wchar_t*>(data), units);
    text[units] = L'\0';
    page->SetDlgItemText(IDC_WHATS_NEW_TEXT, text.get());
}

LRESULT CReleaseNotesText::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // a multi-line edit asks for every key (it would keep Tab inside the page
    // and Esc from the sheet) and for its text to be selected on focus
    if (message == WM_GETDLGCODE)
        return Default() & ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_HASSETSEL);
    return CWnd::WindowProc(message, wParam, lParam);
}
