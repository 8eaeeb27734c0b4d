// The two custom controls on windows of this process: the notice's fonts and
// repaint, the link's binding, fitting, colours, hover underline and clicks.
#include "framework/wnd.h"
#include "screen_capture.h"
#include "wine_test_util.h"
#include "wizard/color_static.h"
#include "wizard/hyperlink.h"
#include "wizard_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// A click on a link, handled when this returns.
void ClickLink(HWND link) { SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)); }

LOGFONTW FontOf(HFONT font)
{
    LOGFONTW description = {};
    GetObjectW(font, sizeof(description), &description);
    return description;
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // off the screen: the mouse, wherever tests beside this one move it,
        // is never over these controls
        parentWindow_ = CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, -2000, -2000, 400, 200,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(parent_.SubclassWindow(parentWindow_));
        font_.Attach(CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                 0, 0, 0, L"Microsoft Sans Serif"));
    }
    void TearDown() override
    {
        if (IsWindow(parentWindow_))
            DestroyWindow(parentWindow_);
    }
    HWND Child(const wchar_t* text, DWORD style, int x, int y, int width, int height)
    {
        HWND child = CreateWindowW(L"STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                   height, parentWindow_, reinterpret_cast<HMENU>(1045),
                                   GetModuleHandleW(nullptr), nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.GetSafeHandle()), FALSE);
        return child;
    }
    RECT InParent(HWND child)
    {
        RECT rect = {};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, parentWindow_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // What the parent's reflected WM_CTLCOLORSTATIC leaves in a DC.
    COLORREF ColourOf(HWND child, int* mode, HBRUSH* brush)
    {
        ScopedGetDC dc(child);
        *brush = reinterpret_cast<HBRUSH>(SendMessageW(parentWindow_, WM_CTLCOLORSTATIC,
            reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), reinterpret_cast<LPARAM>(child)));
        COLORREF colour = GetTextColor(dc);
        *mode = GetBkMode(dc);
        return colour;
    }

    HWND parentWindow_ = nullptr;
    CWnd parent_;
    CFont font_;
};

TEST_F(ControlsTest, NoticeWeightComesFromTheBoldFlagOnly)
{
    CXColorStatic notice;
    ASSERT_TRUE(notice.SubclassWindow(Child(L"Installiere ... bitte warten ...",
                                            SS_CENTER | SS_CENTERIMAGE, 10, 10, 300, 30)));
    // as bound: a copy of the control's font
    EXPECT_EQ(-11, FontOf(notice.GetTextFont()).lfHeight);

    LOGFONTW heavy = FontOf(font_);
    heavy.lfWeight = 900;
    notice.ApplyFont(heavy);
    EXPECT_EQ(400, FontOf(notice.GetTextFont()).lfWeight);
    notice.UseArialFont(-24);
    LOGFONTW arial = FontOf(notice.GetTextFont());
    EXPECT_EQ(400, arial.lfWeight);
    EXPECT_EQ(-24, arial.lfHeight);
    EXPECT_EQ(std::wstring(L"Arial"), arial.lfFaceName);
    EXPECT_EQ(ANTIALIASED_QUALITY, arial.lfQuality);

    notice.MakeTextBold();
    // from the window font, not from the Arial built before
    EXPECT_EQ(700, FontOf(notice.GetTextFont()).lfWeight);
    EXPECT_EQ(-11, FontOf(notice.GetTextFont()).lfHeight);
    notice.UseArialFont(-24);
    EXPECT_EQ(700, FontOf(notice.GetTextFont()).lfWeight);
    notice.ApplyFont(heavy);
    EXPECT_EQ(700, FontOf(notice.GetTextFont()).lfWeight);

    // the colour alone waits for the next paint; the font repaints at once
    UpdateWindow(notice.m_hWnd);
    notice.SetTextColor(RGB(255, 0, 0));
    EXPECT_FALSE(GetUpdateRect(notice.m_hWnd, nullptr, FALSE));
    PinToCorner(parentWindow_, ScreenCorner::kBottomLeft);  // shown, and so painted red
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(notice.m_hWnd).Count(RGB(255, 0, 0)) > 10; },
                          kLongWait));
}

TEST_F(ControlsTest, LinkBindingFitsTheControlToItsUnderlinedText)
{
    const wchar_t* text = L"Photarium EULA";
    SIZE extent = UnderlinedTextSize(font_, text);
    struct Case {
        const char* name;
        DWORD style;
    } cases[] = {{"left", SS_LEFT}, {"centre", SS_CENTER}, {"right", SS_RIGHT}};
    for (const Case& c : cases) {
        HWND child = Child(text, c.style, 20, 30, 150, 40);
        RECT before = InParent(child);
        CHyperLink link;
        ASSERT_TRUE(link.SubclassWindow(child));
        RECT after = InParent(child);
        EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & SS_NOTIFY) << c.name;
        EXPECT_EQ(extent.cy, after.bottom - after.top) << c.name;
        EXPECT_EQ(before.top, after.top) << c.name;
        // the edge the alignment keeps; centred, the same truncated margin
        // comes off both sides, so an odd remainder stays in the width
        int expectedLeft = before.left;
        int expectedWidth = extent.cx;
        if (c.style == SS_RIGHT)
            expectedLeft = before.right - extent.cx;
        if (c.style == SS_CENTER) {
            expectedLeft = before.left + (150 - extent.cx) / 2;
            expectedWidth = 150 - 2 * ((150 - extent.cx) / 2);
        }
        EXPECT_EQ(expectedLeft, after.left) << c.name;
        EXPECT_EQ(expectedWidth, after.right - after.left) << c.name;
        EXPECT_FALSE(FontOf(link.GetFont()).lfUnderline) << c.name;
        DestroyWindow(child);
    }

    // a click opens the text, or the target set before binding, which an
    // empty control then shows
    RecordOpenedUrls();
    CHyperLink byText, byTarget;
    ASSERT_TRUE(byText.SubclassWindow(Child(L"https://a.example/eula", SS_LEFT, 20, 100, 50, 10)));
    byTarget.SetLinkTarget(L"https://a.example/faq");
    ASSERT_TRUE(byTarget.SubclassWindow(Child(L"", SS_LEFT, 20, 150, 50, 10)));
    EXPECT_EQ(L"https://a.example/faq", WindowText(byTarget.m_hWnd));
    ClickLink(byText.m_hWnd);
    ClickLink(byTarget.m_hWnd);
    std::string opened = WaitForOpenedUrls(2);
    EXPECT_NE(std::string::npos, opened.find("\"https://a.example/eula\"\n")) << opened;
    EXPECT_NE(std::string::npos, opened.find("\"https://a.example/faq\"\n")) << opened;
}

TEST_F(ControlsTest, LinkColoursAndHoverUnderline)
{
    RecordOpenedUrls();
    // binding leaves the hover-underline mode
    for (int mode : {CHyperLink::kUnderlineOnHover, CHyperLink::kUnderlineAlways}) {
        HWND child = Child(L"Photarium EULA", SS_LEFT, 20, 30, 150, 40);
        CHyperLink link;
        link.SetLinkTarget(L"https://www.photarium.example/eula.htm");
        ASSERT_TRUE(link.SubclassWindow(child));
        link.SetUnderlineMode(mode);
        bool alwaysUnderlined = mode == CHyperLink::kUnderlineAlways;
        EXPECT_EQ(alwaysUnderlined, FontOf(link.GetFont()).lfUnderline != 0) << mode;

        int bkMode = 0;
        HBRUSH brush = nullptr;
        EXPECT_EQ(RGB(0, 0, 238), ColourOf(child, &bkMode, &brush)) << mode;
        EXPECT_EQ(TRANSPARENT, bkMode);
        EXPECT_EQ(GetStockObject(NULL_BRUSH), brush);

        // the mouse comes: red and underlined
        SendMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_TRUE(link.IsHovering()) << mode;
        EXPECT_TRUE(FontOf(link.GetFont()).lfUnderline) << mode;
        EXPECT_EQ(RGB(255, 0, 0), ColourOf(child, &bkMode, &brush)) << mode;

        // opened: purple, but red while the mouse is over it again
        ClickLink(child);
        EXPECT_EQ(RGB(85, 26, 139), ColourOf(child, &bkMode, &brush)) << mode;
        SendMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(RGB(255, 0, 0), ColourOf(child, &bkMode, &brush)) << mode;

        // the hover timer notices it has gone
        EXPECT_TRUE(WaitUntil([&] { return !link.IsHovering(); }, kLongWait)) << mode;
        EXPECT_EQ(alwaysUnderlined, FontOf(link.GetFont()).lfUnderline != 0) << mode;
        EXPECT_EQ(RGB(85, 26, 139), ColourOf(child, &bkMode, &brush)) << mode;

        // a target nothing opens (no ".htm" program either): blue again
        DeleteRegTree(HKEY_CLASSES_ROOT, L".htm");
        link.SetLinkTarget(L"C:\\ptest\\gibt_es_nicht.htm");
        ClickLink(child);
        EXPECT_EQ(RGB(0, 0, 238), ColourOf(child, &bkMode, &brush)) << mode;
        DestroyWindow(child);
    }
    // the address opened once a mode, the missing file never
    std::string opened = WaitForOpenedUrls(2);
    EXPECT_EQ(2, std::count(opened.begin(), opened.end(), '\n')) << opened;
}

}  // namespace
