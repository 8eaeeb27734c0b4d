#include "platform/owned_text.h"

#include <cwchar>
#include <new>

bool OwnedText::Assign(const wchar_t* text)
{
    size_t units = wcslen(text) + 1;
    std::unique_ptr<wchar_t[]> copy(new (std::nothrow) wchar_t[units]);
    if (!copy)
        return false;
    wmemcpy(copy.get(), text, units);
    m_text = std::move(copy);
    return true;
}
