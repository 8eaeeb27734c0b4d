#pragma once
// A text of any length kept on the heap. No <windows.h> here.

#include <memory>

class OwnedText {
public:
    // Copies text. Without memory for the copy the text stays as it was and
    // the result is false.
    bool Assign(const wchar_t* text);
    const wchar_t* c_str() const { return m_text ? m_text.get() : L""; }
    bool empty() const { return !m_text || m_text[0] == L'\0'; }

private:
    std::unique_ptr<wchar_t[]> m_text;  // null while empty
};
