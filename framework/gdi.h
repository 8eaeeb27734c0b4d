#pragma once
// GDI objects with their ownership in the type: CFont and CBrush delete what
// they hold, CFontHandle only borrows.

#include <windows.h>

class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Takes ownership of font; a font held before is deleted.
    void Attach(HFONT font)
    {
        DeleteObject();
        m_hFont = font;
    }
    HFONT Detach()
    {
        HFONT font = m_hFont;
        m_hFont = nullptr;
        return font;
    }
    BOOL CreateFontIndirect(const LOGFONTW* description)
    {
        Attach(::CreateFontIndirectW(description));
        return m_hFont != nullptr;
    }
    void DeleteObject()
    {
        if (m_hFont != nullptr)
            ::DeleteObject(m_hFont);
        m_hFont = nullptr;
    }
    HFONT GetSafeHandle() const { return m_hFont; }
    operator HFONT() const { return m_hFont; }

private:
    HFONT m_hFont = nullptr;
};

class CFontHandle {
public:
    explicit CFontHandle(HFONT font = nullptr) : m_hFont(font) {}
    operator HFONT() const { return m_hFont; }

private:
    HFONT m_hFont;  // not owned
};

class CBrush {
public:
    CBrush() = default;
    ~CBrush() { DeleteObject(); }
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    BOOL CreateSolidBrush(COLORREF colour)
    {
        DeleteObject();
        m_hBrush = ::CreateSolidBrush(colour);
        return m_hBrush != nullptr;
    }
    void DeleteObject()
    {
        if (m_hBrush != nullptr)
            ::DeleteObject(m_hBrush);
        m_hBrush = nullptr;
    }
    HBRUSH GetSafeHandle() const { return m_hBrush; }
    operator HBRUSH() const { return m_hBrush; }

private:
    HBRUSH m_hBrush = nullptr;
};

// The font a control reports, or the stock GUI font when it has none.
inline HFONT ControlFontOrStock(HWND control)
{
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    return font;
}
