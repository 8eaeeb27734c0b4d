#include "wizard/hyperlink.h"

#include "platform/reg_key.h"
#include "platform/text_format.h"
#include "wizard/link_rules.h"

#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <new>

namespace {

// A rectangle of screen coordinates into the parent's client coordinates.
void ToParent(HWND parent, RECT& rect)
{
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
}

// The window's text, terminated, and its length as the window reports it;
// null without memory for it.
std::unique_ptr<wchar_t[]> WindowText(HWND window, int& length)
{
    length = ::GetWindowTextLengthW(window);
    std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[static_cast<size_t>(length) + 1]());
    if (text)
        ::GetWindowTextW(window, text.get(), length + 1);
    return text;
}

}  // namespace

CHyperLink::~CHyperLink()
{
    if (m_hHandCursor != nullptr)
        ::DestroyCursor(m_hHandCursor);
    // the fonts and the target go with their members
}

void CHyperLink::SetLinkTarget(const wchar_t* target)
{
    m_strTarget.Assign(target);
    if (m_hWnd != nullptr)
        FitToText();
}

void CHyperLink::SetUnderlineMode(int mode)
{
    if (mode == m_nUnderlineMode)
        return;
    if (m_hWnd != nullptr) {
        SetFont(mode == 1 ? m_fontUnderlined.GetSafeHandle() : m_fontNormal.GetSafeHandle(), TRUE);
        Invalidate(TRUE);
    }
    m_nUnderlineMode = mode;
}

BOOL CHyperLink::DestroyWindow()
{
    KillTimer(m_nHoverTimer);
    return ::DestroyWindow(m_hWnd);
}

void CHyperLink::PreSubclassWindow()
{
    // clicks are reported only with SS_NOTIFY
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, style | SS_NOTIFY);

    int length = 0;
    std::unique_ptr<wchar_t[]> text = WindowText(m_hWnd, length);
    if (text && m_strTarget.empty())
        m_strTarget.Assign(text.get());
    if (text && text[0] == L'\0')
        SetWindowText(m_strTarget.c_str());

    LOGFONTW description = {};
    HFONT font = ControlFontOrStock(m_hWnd);
    if (font != nullptr && ::GetObjectW(font, sizeof(description), &description) != 0) {
        m_fontNormal.CreateFontIndirect(&description);
        description.lfUnderline = TRUE;
        m_fontUnderlined.CreateFontIndirect(&description);
    }

    FitToText();
    LoadHandCursor();

    if (m_nUnderlineMode != -1) {
        if (m_hWnd != nullptr) {
            SetFont(m_fontNormal.GetSafeHandle(), TRUE);
            Invalidate(TRUE);
        }
        m_nUnderlineMode = -1;
    }
}

void CHyperLink::FitToText()
{
    if (m_hWnd == nullptr || !m_bFitToText)
        return;
    HWND parent = ::GetParent(m_hWnd);
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    ToParent(parent, window);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    ::MapWindowPoints(m_hWnd, parent, reinterpret_cast<POINT*>(&client), 2);
    int borderWidth = (window.right - window.left) - (client.right - client.left);
    int borderHeight = (window.bottom - window.top) - (client.bottom - client.top);

    int length = 0;
    std::unique_ptr<wchar_t[]> text = WindowText(m_hWnd, length);
    if (!text)
        return;
    SIZE extent = {};
    if (ScopedGetDC dc(m_hWnd); dc != nullptr) {
        ScopedSelectObject font(dc, m_fontUnderlined.GetSafeHandle());
        ::GetTextExtentPoint32W(dc, text.get(), length, &extent);
    }

    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    LinkAlignment alignment = {(style & SS_CENTERIMAGE) != 0, (style & SS_CENTER) != 0,
                               (style & SS_RIGHT) != 0};
    LinkRect fitted = FitLinkRect({window.left, window.top, window.right, window.bottom},
                                  borderWidth, borderHeight, extent.cx, extent.cy, alignment);
    ::SetWindowPos(m_hWnd, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                   fitted.bottom - fitted.top, SWP_NOZORDER);
}

void CHyperLink::LoadHandCursor()
{
    if (m_hHandCursor != nullptr)
        return;
    wchar_t folder[260] = L"";
    UINT length = ::GetWindowsDirectoryW(folder, 260);
    wchar_t path[260];
    if (length == 0 || length >= 260 || !FormatText(path, 260, L"%ls\\winhlp32.exe", folder))
        return;
    HMODULE module = ::LoadLibraryW(path);
    if (module == nullptr)
        return;
    if (HCURSOR cursor = ::LoadCursorW(module, MAKEINTRESOURCEW(106)))
        m_hHandCursor = reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(cursor)));
    ::FreeLibrary(module);
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_MOUSEMOVE:
        OnMouseMove();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    default:
        return CStatic::WindowProc(message, wParam, lParam);
    }
}

bool CHyperLink::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    if (message == WM_CTLCOLORSTATIC) {
        *result = reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(wParam)));
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnLinkClicked();
        *result = 0;
        return true;
    }
    return false;
}

HBRUSH CHyperLink::CtlColor(HDC dc)
{
    COLORREF colour = m_colorLink;
    if (m_bHovering)
        colour = m_colorHover;
    else if (m_bOpened)
        colour = m_colorOpened;
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnEraseBkgnd(HDC dc)
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

BOOL CHyperLink::OnSetCursor()
{
    if (m_hHandCursor == nullptr)
        return FALSE;
    ::SetCursor(m_hHandCursor);
    return TRUE;
}

void CHyperLink::OnMouseMove()
{
    if (!m_bHovering) {
        m_bHovering = TRUE;
        if (m_nUnderlineMode == -1)
            SetFont(m_fontUnderlined.GetSafeHandle(), TRUE);
        Invalidate(TRUE);
        SetTimer(m_nHoverTimer, 100);
    }
    Default();
}

void CHyperLink::OnTimer(UINT_PTR)
{
    DWORD position = ::GetMessagePos();
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ::ScreenToClient(m_hWnd, &point);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    if (!::PtInRect(&client, point)) {
        m_bHovering = FALSE;
        KillTimer(m_nHoverTimer);
        if (m_nUnderlineMode != 1)
            SetFont(m_fontNormal.GetSafeHandle(), TRUE);
        // the underline reaches below the client rectangle
        client.bottom += 10;
        ::InvalidateRect(m_hWnd, &client, TRUE);
    }
    Default();
}

void CHyperLink::OnLinkClicked()
{
    m_bHovering = FALSE;
    INT_PTR result = OpenLink(m_strTarget.c_str());
    m_bOpened = result > 32 ? TRUE : FALSE;
    if (!m_bOpened) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    Invalidate(TRUE);
}

INT_PTR CHyperLink::OpenLink(const wchar_t* target)
{
    INT_PTR result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(::GetDesktopWindow(), L"open", target, nullptr, nullptr, SW_SHOW));
    if (result > 32)
        return result;

    // the program that opens web pages saved as files
    wchar_t type[130] = L"";
    RegKey extension;
    if (!extension.Open(HKEY_CLASSES_ROOT, L".htm", KEY_READ) ||
        !extension.ReadString(nullptr, type, sizeof(type)))
        return result;
    extension.Close();
    wchar_t commandKey[130 + 20];
    if (!FormatText(commandKey, 150, L"%ls\\shell\\open\\command", type))
        return result;
    wchar_t command[130] = L"";
    RegKey open;
    if (!open.Open(HKEY_CLASSES_ROOT, commandKey, KEY_READ) ||
        !open.ReadString(nullptr, command, sizeof(command)))
        return result;
    open.Close();

    wchar_t line[130 + 1 + 2084];
    if (!BuildOpenCommand(command, target, line, sizeof(line) / sizeof(line[0])))
        return result;
    int bytes = ::WideCharToMultiByte(CP_THREAD_ACP, 0, line, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return result;
    std::unique_ptr<char[]> ansi(new (std::nothrow) char[static_cast<size_t>(bytes)]());
    if (!ansi)
        return result;
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, line, -1, ansi.get(), bytes, nullptr, nullptr);
    return static_cast<INT_PTR>(::WinExec(ansi.get(), SW_SHOW));
}
