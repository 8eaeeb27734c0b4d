#include "framework/wnd.h"

#include <commctrl.h>

namespace {
// The bound object of a window (mingw's comctl32 offers no GetWindowSubclass).
const wchar_t kObjectProperty[] = L"PhotariumCWnd";
}  // namespace

CWnd::~CWnd()
{
    if (m_bSubclassed && m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::RemoveWindowSubclass(m_hWnd, &CWnd::SubclassProc, 0);
        ::RemovePropW(m_hWnd, kObjectProperty);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    if (window == nullptr)
        return nullptr;
    return static_cast<CWnd*>(::GetPropW(window, kObjectProperty));
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (window == nullptr || m_hWnd != nullptr || FromHandlePermanent(window) != nullptr)
        return FALSE;
    if (!::SetWindowSubclass(window, &CWnd::SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        return FALSE;
    ::SetPropW(window, kObjectProperty, this);
    m_hWnd = window;
    m_bSubclassed = true;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data)
{
    CWnd* self = reinterpret_cast<CWnd*>(data);
    if (message == WM_NCDESTROY) {
        // the window goes; the object stays and may be bound again later
        ::RemoveWindowSubclass(window, &CWnd::SubclassProc, 0);
        ::RemovePropW(window, kObjectProperty);
        self->m_hWnd = nullptr;
        self->m_bSubclassed = false;
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    CurrentMessage saved = self->m_current;
    self->m_current = {message, wParam, lParam};
    LRESULT result = self->WindowProc(message, wParam, lParam);
    self->m_current = saved;
    return result;
}

LRESULT CWnd::Default()
{
    return ::DefSubclassProc(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
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
