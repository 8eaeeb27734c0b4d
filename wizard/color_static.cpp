#include "wizard/color_static.h"
#include "platform/fixed_text.h"
#include "platform/high_contrast.h"

namespace {
// The notice's text as painted; longer text is cut there.
constexpr size_t kNoticeUnits = 512;
}  // namespace

CXColorStatic::CXColorStatic()
    : m_textColour(::GetSysColor(COLOR_BTNTEXT)), m_backColour(::GetSysColor(COLOR_BTNFACE))
{
    m_backBrush.Attach(::CreateSolidBrush(m_backColour));
}

// m_font and m_backBrush delete their objects
CXColorStatic::~CXColorStatic() = default;

void CXColorStatic::PreSubclassWindow()
{
    LOGFONTW description = {};
    HFONT font = ControlFontOrStock(m_hWnd);
    if (font != nullptr && ::GetObjectW(font, sizeof(description), &description) != 0)
        m_font.Attach(::CreateFontIndirectW(&description));
}

void CXColorStatic::MakeTextBold()
{
    m_bold = 1;
    LOGFONTW description = {};
    ::GetObjectW(GetFont(), sizeof(description), &description);
    ApplyFont(description);
}

void CXColorStatic::UseArialFont(int height)
{
    LOGFONTW description = {};
    description.lfHeight = height;
    description.lfQuality = ANTIALIASED_QUALITY;
    CopyText(description.lfFaceName, LF_FACESIZE, L"Arial");
    ApplyFont(description);
}

void CXColorStatic::ApplyFont(const LOGFONTW& description)
{
    LOGFONTW font = description;
    // the caller's weight never counts
    font.lfWeight = m_bold ? FW_BOLD : FW_NORMAL;
    m_font.Attach(::CreateFontIndirectW(&font));
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CXColorStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        return Default();
    default:
        return CStatic::WindowProc(message, wParam, lParam);
    }
}

void CXColorStatic::OnSysColorChange()
{
    m_backColour = ::GetSysColor(COLOR_BTNFACE);
    m_backBrush.Attach(::CreateSolidBrush(m_backColour));
    Invalidate(TRUE);
}

BOOL CXColorStatic::OnEraseBkgnd(HDC dc)
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    if (m_backBrush != nullptr)
        ::FillRect(dc, &client, m_backBrush);
    return TRUE;
}

void CXColorStatic::OnPaint()
{
    PAINTSTRUCT paint = {};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    int saved = ::SaveDC(dc);

    // a fixed colour may vanish on a high-contrast background
    ::SetTextColor(dc, IsHighContrastOn() ? ::GetSysColor(COLOR_WINDOWTEXT) : m_textColour);
    ::SetBkColor(dc, m_backColour);
    ::SetBkMode(dc, OPAQUE);
    if (m_backBrush != nullptr)
        ::SelectObject(dc, m_backBrush);

    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    if (m_font.GetSafeHandle() != nullptr)
        ::SelectObject(dc, m_font.GetSafeHandle());
    FixedText<kNoticeUnits> text;
    GetWindowText(text);

    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    UINT format = DT_LEFT;
    if (style & SS_CENTER)
        format = DT_CENTER;
    else if (style & SS_RIGHT)
        format = DT_RIGHT;
    if (style & SS_CENTERIMAGE)
        format |= DT_VCENTER | DT_SINGLELINE;
    else
        format |= DT_WORDBREAK;
    ::DrawTextW(dc, text.Get(), -1, &client, format);

    ::RestoreDC(dc, saved);
    ::EndPaint(m_hWnd, &paint);
}
