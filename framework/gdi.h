#pragma once
// GDI objects with their ownership in the type: a font or brush is deleted,
// a device context and a selected object are given back, when the scope ends.

#include <windows.h>

// Deletes a GDI object; none is nothing to delete.
inline void DeleteGdiObject(HGDIOBJ object)
{
    if (object != nullptr)
        ::DeleteObject(object);
}

// A GDI object (a font, a brush) deleted when its owner goes.
template <typename Handle>
class ScopedGdiObject {
public:
    ScopedGdiObject() = default;
    ~ScopedGdiObject() { DeleteGdiObject(m_handle); }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    // Takes ownership of object (a made one, or none), deleting the one held
    // before; true when there is one.
    bool Attach(Handle object)
    {
        DeleteGdiObject(m_handle);
        m_handle = object;
        return object != nullptr;
    }
    Handle GetSafeHandle() const { return m_handle; }
    operator Handle() const { return m_handle; }

private:
    Handle m_handle = nullptr;
};

using CFont = ScopedGdiObject<HFONT>;
using CBrush = ScopedGdiObject<HBRUSH>;

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

// A device context made for a device (CreateDCW), deleted when the scope
// ends. Tests false when none could be made.
class ScopedCreateDC {
public:
    explicit ScopedCreateDC(HDC dc) : m_hDC(dc) {}
    ~ScopedCreateDC()
    {
        if (m_hDC != nullptr)
            ::DeleteDC(m_hDC);
    }
    ScopedCreateDC(const ScopedCreateDC&) = delete;
    ScopedCreateDC& operator=(const ScopedCreateDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
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
