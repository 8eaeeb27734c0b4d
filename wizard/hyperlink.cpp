#include "wizard/hyperlink.h"

#include "platform/fixed_text.h"
#include "platform/high_contrast.h"
#include "platform/reg_key.h"
#include "platform/scoped_library.h"
#include "wizard/link_accessible.h"
#include "wizard/link_rules.h"

#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <new>

namespace {

// ShellExecute and WinExec: a result above this means the program started.
constexpr INT_PTR kStartFailedAtMost = 32;

// The ".htm" type's name.
constexpr size_t kFileTypeUnits = 130;
// The type's name and "\shell\open\command".
constexpr size_t kCommandKeyUnits = kFileTypeUnits + 20;

constexpr UINT_PTR kHoverTimer = 100;
constexpr UINT kHoverCheckMs = 100;

// The cursor that winhlp32.exe carries as resource 106: a pointing hand.
constexpr WORD kHandCursorId = 106;

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

// Enter and Space open the link, as a click does.
bool IsOpenKey(WPARAM key) { return key == VK_RETURN || key == VK_SPACE; }

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
        SetFont(mode == kUnderlineAlways ? m_fontUnderlined : m_fontNormal, TRUE);
        Invalidate(TRUE);
    }
    m_nUnderlineMode = mode;
}

void CHyperLink::PreSubclassWindow()
{
    // clicks are reported only with SS_NOTIFY; the dialog's Tab stops at it
    // where it stands among the page's controls
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, style | SS_NOTIFY | WS_TABSTOP);

    int length = 0;
    std::unique_ptr<wchar_t[]> text = WindowText(m_hWnd, length);
    if (text && m_strTarget.empty())
        m_strTarget.Assign(text.get());
    if (text && text[0] == L'\0')
        SetWindowText(m_strTarget.c_str());

    LOGFONTW description = {};
    HFONT font = ControlFontOrStock(m_hWnd);
    if (font != nullptr && ::GetObjectW(font, sizeof(description), &description) != 0) {
        m_fontNormal.Attach(::CreateFontIndirectW(&description));
        description.lfUnderline = TRUE;
        m_fontUnderlined.Attach(::CreateFontIndirectW(&description));
    }

    FitToText();
    LoadHandCursor();

    if (m_nUnderlineMode != kUnderlineOnHover) {
        if (m_hWnd != nullptr) {
            SetFont(m_fontNormal.GetSafeHandle(), TRUE);
            Invalidate(TRUE);
        }
        m_nUnderlineMode = kUnderlineOnHover;
    }
}

void CHyperLink::FitToText()
{
    if (m_hWnd == nullptr)
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
    FixedText<kTextUnits> folder;
    UINT length = ::GetWindowsDirectoryW(folder.Buffer(), folder.kUnits);
    FixedText<kTextUnits> path;
    if (length == 0 || length >= folder.kUnits ||
        !path.Format(L"%ls\\winhlp32.exe", folder.Get()))
        return;
    ScopedLibrary module(::LoadLibraryW(path));
    if (module.Get() == nullptr)
        return;
    // a copy: the library's own cursor goes with the library
    if (HCURSOR cursor = ::LoadCursorW(module.Get(), MAKEINTRESOURCEW(kHandCursorId)))
        m_hHandCursor = reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(cursor)));
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
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        if (!IsOpenKey(wParam))
            return Default();
        // once per press, not for the key's repeats (bit 30: it was down)
        if ((lParam & (1 << 30)) == 0)
            OnLinkClicked();
        return 0;
    case WM_CHAR:
        return IsOpenKey(wParam) ? 0 : Default();
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
        LRESULT result = Default();
        Invalidate(TRUE);
        return result;
    }
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
    case WM_DESTROY:
        if (m_bComStarted)
            ::CoUninitialize();
        m_bComStarted = false;
        return Default();
    default:
        return CStatic::WindowProc(message, wParam, lParam);
    }
}

LRESULT CHyperLink::OnGetDlgCode(const MSG* message)
{
    LRESULT code = Default();
    // the dialog would give Enter to its default button (Next) and Space to nothing
    if (message != nullptr && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
        IsOpenKey(message->wParam))
        code |= DLGC_WANTMESSAGE;
    return code;
}

void CHyperLink::OnPaint()
{
    Default();
    // the focus rectangle, once the keyboard has been used in the dialog
    // (Windows hides focus cues until then)
    if (::GetFocus() != m_hWnd || (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0)
        return;
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    if (ScopedGetDC dc(m_hWnd); dc != nullptr)
        ::DrawFocusRect(dc, &client);
}

LRESULT CHyperLink::OnGetObject(WPARAM flags, LPARAM objectId)
{
    // a client's calls come through COM: in a single-threaded apartment they
    // arrive on this thread, as its other messages do
    if (!m_bComStarted)
        m_bComStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    LRESULT reference = LinkAccessibleObject(m_hWnd, flags, objectId);
    return reference != 0 ? reference : Default();
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
    // a high-contrast theme names its own colour for links
    if (IsHighContrastOn())
        colour = ::GetSysColor(COLOR_HOTLIGHT);
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
        if (m_nUnderlineMode == kUnderlineOnHover)
            SetFont(m_fontUnderlined.GetSafeHandle(), TRUE);
        Invalidate(TRUE);
        SetTimer(kHoverTimer, kHoverCheckMs);
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
        KillTimer(kHoverTimer);
        if (m_nUnderlineMode != kUnderlineAlways)
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
    m_bOpened = result > kStartFailedAtMost ? TRUE : FALSE;
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
    if (result > kStartFailedAtMost)
        return result;

    // the program that opens web pages saved as files
    FixedText<kFileTypeUnits> type;
    RegKey extension;
    if (!extension.Open(HKEY_CLASSES_ROOT, L".htm", KEY_READ) ||
        !extension.ReadString(nullptr, type))
        return result;
    extension.Close();
    FixedText<kCommandKeyUnits> commandKey;
    if (!commandKey.Format(L"%ls\\shell\\open\\command", type.Get()))
        return result;
    FixedText<kOpenCommandUnits> command;
    RegKey open;
    if (!open.Open(HKEY_CLASSES_ROOT, commandKey, KEY_READ) ||
        !open.ReadString(nullptr, command))
        return result;
    open.Close();

    OpenLine line;
    if (!BuildOpenCommand(command, target, line))
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
