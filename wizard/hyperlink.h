#pragma once
// A static text that acts as a web link: blue and underlined, red while the
// mouse is over it, purple once opened; a click opens its target. It is a tab
// stop, opens on Enter and Space as on a click, and tells accessibility
// clients it is a link; in a high-contrast theme it takes the theme's link
// colour.

#include "framework/gdi.h"
#include "framework/wnd.h"
#include "platform/owned_text.h"

class CHyperLink : public CStatic {
public:
    CHyperLink() = default;
    ~CHyperLink() override;

    // Operations
    // Stores the target; fits the control to its text when it exists.
    void SetLinkTarget(const wchar_t* target);
    // Underlined while hovered, always, or (any other value) never.
    static constexpr int kUnderlineOnHover = -1;
    static constexpr int kUnderlineAlways = 1;
    void SetUnderlineMode(int mode);
    // Opens target with the shell, else with the program registered for
    // ".htm" files. Above 32 means success.
    static INT_PTR OpenLink(const wchar_t* target);

    // Attributes
    BOOL IsHovering() const { return m_bHovering; }

    // Overridables
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    HBRUSH CtlColor(HDC dc);
    BOOL OnSetCursor();
    void OnMouseMove();
    void OnTimer(UINT_PTR id) override;
    void OnLinkClicked();
    BOOL OnEraseBkgnd(HDC dc);
    LRESULT OnGetDlgCode(const MSG* message);
    void OnPaint();
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);

    void FitToText();
    void LoadHandCursor();

    COLORREF m_colorLink = RGB(0, 0, 238);
    COLORREF m_colorOpened = RGB(85, 26, 139);
    COLORREF m_colorHover = RGB(255, 0, 0);
    BOOL m_bHovering = FALSE;
    BOOL m_bOpened = FALSE;
    int m_nUnderlineMode = kUnderlineOnHover;
    OwnedText m_strTarget;
    CFont m_fontUnderlined;
    CFont m_fontNormal;
    HCURSOR m_hHandCursor = nullptr;  // owned: a copy, destroyed with the link
    bool m_bComStarted = false;       // this thread's COM, for accessibility clients
};
