#include "framework/wnd.h"

// A bound window carries its object in GWLP_USERDATA and our procedure in
// GWLP_WNDPROC: one read of the window's own data per message. A window
// property is looked up by name on every message, and comctl32's subclass
// list puts its own look-up and procedure in front of every message.
// Measured: bench/README.md.

CWnd::~CWnd()
{
    if (m_pfnSuper != nullptr && ::IsWindow(m_hWnd))
        Unbind(m_hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    if (window == nullptr)
        return nullptr;
    // the user data is ours only while our procedure is the window's
    if (!HasBoundProc(window))
        return nullptr;
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (window == nullptr || m_hWnd != nullptr || FromHandlePermanent(window) != nullptr)
        return FALSE;
    // a window whose user data is taken is not ours to bind
    if (::GetWindowLongPtrW(window, GWLP_USERDATA) != 0)
        return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (m_pfnSuper == nullptr)
        return FALSE;
    m_hWnd = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::BoundProc)) == 0) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        m_hWnd = nullptr;
        m_pfnSuper = nullptr;
        return FALSE;
    }
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

bool CWnd::HasBoundProc(HWND window)
{
    return ::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::BoundProc);
}

void CWnd::Unbind(HWND window)
{
    // a procedure set over ours stays; ours then finds no object and gives
    // the messages the default processing rather than reach a gone object
    if (HasBoundProc(window))
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT CALLBACK CWnd::BoundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // the window goes; the object stays and may be bound again later
        WNDPROC super = self->m_pfnSuper;
        self->Unbind(window);
        self->m_hWnd = nullptr;
        self->m_pfnSuper = nullptr;
        return ::CallWindowProcW(super, window, message, wParam, lParam);
    }
    CurrentMessage saved = self->m_current;
    self->m_current = {message, wParam, lParam};
    LRESULT result = self->WindowProc(message, wParam, lParam);
    self->m_current = saved;
    return result;
}

LRESULT CWnd::Default()
{
    return ::CallWindowProcW(m_pfnSuper, m_hWnd, m_current.message, m_current.wParam,
                             m_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        if (ReflectChildNotify(message, wParam, lParam, &result))
            return result;
        if (OnCommand(wParam, lParam))
            return 0;
        return Default();
    case WM_CTLCOLORSTATIC:
        if (ReflectChildNotify(message, wParam, lParam, &result))
            return result;
        return Default();
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    default:
        return Default();
    }
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) != STN_CLICKED)
        return false;
    if (message != WM_COMMAND && message != WM_CTLCOLORSTATIC)
        return false;
    CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    return child != nullptr && child->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

void CWnd::OnTimer(UINT_PTR) { Default(); }
