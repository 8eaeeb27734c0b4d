#pragma once
// GDI objects with their ownership in the type: CFont and CBrush delete what
// they hold; a device context and a selected object are given back by scope.

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

// The device context of a window (of the screen for none), released when
// the scope ends. Tests false when there is none.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window) : m_hWnd(window), m_hDC(::GetDC(window)) {}
    ~ScopedGetDC()
    {
        if (m_hDC != nullptr)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// An object selected into a device context until the scope ends.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : m_hDC(dc), m_previous(::SelectObject(dc, object)) {}
    ~ScopedSelectObject()
    {
        if (m_previous != nullptr)
            ::SelectObject(m_hDC, m_previous);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_previous;
};

// Horizontal pixels per logical inch of the display a window is on (of the
// screen for none); 96 when no device context can be had.
inline int ScreenDpi(HWND window)
{
    ScopedGetDC dc(window);
    return dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
}

// A size given for 96 pixels per inch, at dpi.
inline int DpiScale(int value, int dpi) { return ::MulDiv(value, dpi, 96); }

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
