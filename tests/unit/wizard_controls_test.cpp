// The two custom controls on windows of this process: the notice's fonts and
// repaint, the link's binding, fitting, colours and hover underline.
#include "framework/wnd.h"
#include "wizard/color_static.h"
#include "wizard/hyperlink.h"
#include "wizard_ui.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TestNotice : public CXColorStatic {
public:
    using CXColorStatic::m_bold;
};

class TestLink : public CHyperLink {
public:
    using CHyperLink::m_bOpened;
    using CHyperLink::m_fontNormal;
    using CHyperLink::m_fontUnderlined;
    using CHyperLink::m_nUnderlineMode;
    using CHyperLink::m_strTarget;
};

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
        font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                            0, 0, L"Microsoft Sans Serif");
    }
    void TearDown() override
    {
        if (IsWindow(parentWindow_))
            DestroyWindow(parentWindow_);
        DeleteObject(font_);
    }
    HWND Child(const wchar_t* text, DWORD style, int x, int y, int width, int height)
    {
        HWND child = CreateWindowW(L"STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                   height, parentWindow_, reinterpret_cast<HMENU>(1045),
                                   GetModuleHandleW(nullptr), nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
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
        HDC dc = GetDC(child);
        *brush = reinterpret_cast<HBRUSH>(SendMessageW(
            parentWindow_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
        COLORREF colour = GetTextColor(dc);
        *mode = GetBkMode(dc);
        ReleaseDC(child, dc);
        return colour;
    }

    HWND parentWindow_ = nullptr;
    CWnd parent_;
    HFONT font_ = nullptr;
};

TEST_F(ControlsTest, NoticeWeightComesFromTheBoldFlagOnly)
{
    TestNotice notice;
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
    EXPECT_EQ(1, notice.m_bold);
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
    EXPECT_EQ(RGB(255, 0, 0), notice.GetTextColour());
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
        TestLink link;
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
        // the text becomes the target; hover-underline mode, normal font
        EXPECT_EQ(std::wstring(text), link.m_strTarget.c_str()) << c.name;
        EXPECT_EQ(-1, link.m_nUnderlineMode) << c.name;
        EXPECT_FALSE(FontOf(link.GetFont()).lfUnderline) << c.name;
        DestroyWindow(child);
    }

    // an empty control shows a target set before binding
    TestLink link;
    link.SetLinkTarget(L"https://www.photarium.example/eula.htm");
    HWND empty = Child(L"", SS_LEFT, 20, 100, 50, 10);
    ASSERT_TRUE(link.SubclassWindow(empty));
    EXPECT_EQ(L"https://www.photarium.example/eula.htm",
              std::wstring(link.m_strTarget.c_str()));
    wchar_t shown[100] = L"";
    GetWindowTextW(empty, shown, 100);
    EXPECT_EQ(std::wstring(L"https://www.photarium.example/eula.htm"), shown);
}

TEST_F(ControlsTest, LinkColoursAndHoverUnderline)
{
    for (int mode : {-1, 1}) {
        HWND child = Child(L"Photarium EULA", SS_LEFT, 20, 30, 150, 40);
        TestLink link;
        ASSERT_TRUE(link.SubclassWindow(child));
        link.SetUnderlineMode(mode);
        bool alwaysUnderlined = mode == 1;
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
        link.m_bOpened = TRUE;
        EXPECT_EQ(RGB(255, 0, 0), ColourOf(child, &bkMode, &brush)) << mode;

        // the hover timer notices it has gone; purple once opened
        EXPECT_TRUE(WaitUntil([&] { return !link.IsHovering(); }, kLongWait)) << mode;
        EXPECT_EQ(alwaysUnderlined, FontOf(link.GetFont()).lfUnderline != 0) << mode;
        EXPECT_EQ(RGB(85, 26, 139), ColourOf(child, &bkMode, &brush)) << mode;
        link.m_bOpened = FALSE;
        EXPECT_EQ(RGB(0, 0, 238), ColourOf(child, &bkMode, &brush)) << mode;
        DestroyWindow(child);
    }
}

}  // namespace
