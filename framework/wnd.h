#pragma once
// A window object over an existing window: binding (subclassing) with message
// dispatch to virtual handlers, and the operations the wizard calls.

#include "platform/fixed_text.h"

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Attributes
    HWND m_hWnd = nullptr;  // not owned: the window belongs to its parent

    // The bound object of a window, or nullptr.
    static CWnd* FromHandlePermanent(HWND window);

    // Binding. The window's messages reach WindowProc until it is destroyed.
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    // Operations
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    template <size_t Units>
    int GetWindowText(FixedText<Units>& text) const
    {
        return ::GetWindowTextW(m_hWnd, text.Buffer(), static_cast<int>(Units));
    }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetFont(HFONT font, BOOL redraw = TRUE)
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    template <size_t Units>
    UINT GetDlgItemText(int id, FixedText<Units>& text) const
    {
        return ::GetDlgItemTextW(m_hWnd, id, text.Buffer(), static_cast<int>(Units));
    }
    void SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    // Overridables
    // Runs right after the window is bound, before any message arrives.
    virtual void PreSubclassWindow() {}
    // Every message of a bound window; the default dispatches to the handlers
    // below and gives the rest the window's own processing (Default).
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification the parent reflects back to this control
    // (WM_CTLCOLORSTATIC, WM_COMMAND with STN_CLICKED). True when handled.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Gives a parent's WM_CTLCOLORSTATIC or STN_CLICKED to the bound control
    // it concerns. True (and result) when that control handled it.
    static bool ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    // Message handlers. TRUE from OnCommand means the command was handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual void OnTimer(UINT_PTR id);

    // The window's own processing of the message being handled.
    LRESULT Default();

private:
    static LRESULT CALLBACK BoundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // True while our procedure is the window's.
    static bool HasBoundProc(HWND window);
    // Gives the window its own procedure back, when ours is still the one set.
    void Unbind(HWND window);
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current = {};
    WNDPROC m_pfnSuper = nullptr;  // the window's own procedure; set while bound
};

// A static text or picture control.
class CStatic : public CWnd {};
