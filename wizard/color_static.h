#pragma once
// A static text that paints itself: its own text colour and font on a
// background of its own colour. The ready page's "installing" notice. In a
// high-contrast theme the text takes the theme's window text colour.

#include "framework/gdi.h"
#include "framework/wnd.h"

class CXColorStatic : public CStatic {
public:
    // Start colours are the system's button text and face; the brush is made
    // here. Construct only once user32 may be loaded (not as a global).
    CXColorStatic();
    ~CXColorStatic() override;

    // Operations
    // Stores the text colour; the next paint shows it.
    void SetTextColor(COLORREF colour) { m_textColour = colour; }
    // From now on every font built gets weight 700; rebuilds the font from
    // the control's window font.
    void MakeTextBold();
    // Arial of the given LOGFONTW height, antialiased.
    void UseArialFont(int height);
    // Builds m_font from description with the weight m_bold decides, and
    // repaints at once.
    void ApplyFont(const LOGFONTW& description);

    // Overridables
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Attributes
    HFONT GetTextFont() const { return m_font.GetSafeHandle(); }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    // The background follows a new colour scheme.
    void OnSysColorChange();

    CFont m_font;
    COLORREF m_textColour;
    COLORREF m_backColour;
    CBrush m_backBrush;  // none when it could not be made
    int m_bold = 0;
};
