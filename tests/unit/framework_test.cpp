// The framework layer: binding a control once, reflection of the parent's
// WM_CTLCOLORSTATIC and STN_CLICKED to the bound control, unbinding when the
// window goes.
#include "framework/property_sheet.h"
#include "framework/wnd.h"

#include <gtest/gtest.h>

namespace {

// A static that records what its parent reflects to it.
class RecordingStatic : public CStatic {
public:
    int colourCalls = 0;
    int clicks = 0;
    int bound = 0;
    HBRUSH brush = reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH));

    void PreSubclassWindow() override { ++bound; }
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override
    {
        if (message == WM_CTLCOLORSTATIC) {
            ++colourCalls;
            *result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
            ++clicks;
            *result = 0;
            return true;
        }
        return false;
    }
};

class Parent : public CWnd {
public:
    int commands = 0;

protected:
    BOOL OnCommand(WPARAM, LPARAM) override
    {
        ++commands;
        return TRUE;
    }
};

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parentWindow_ = CreateWindowW(L"STATIC", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        childWindow_ = CreateWindowW(L"STATIC", L"link", WS_CHILD | SS_NOTIFY, 0, 0, 50, 10,
                                     parentWindow_, reinterpret_cast<HMENU>(1045),
                                     GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(parent_.SubclassWindow(parentWindow_));
    }
    void TearDown() override
    {
        if (IsWindow(parentWindow_))
            DestroyWindow(parentWindow_);
    }
    LRESULT ColourToParent()
    {
        HDC dc = GetDC(childWindow_);
        LRESULT result = SendMessageW(parentWindow_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(childWindow_));
        ReleaseDC(childWindow_, dc);
        return result;
    }
    void ClickToParent()
    {
        SendMessageW(parentWindow_, WM_COMMAND, MAKEWPARAM(1045, STN_CLICKED),
                     reinterpret_cast<LPARAM>(childWindow_));
    }

    HWND parentWindow_ = nullptr;
    HWND childWindow_ = nullptr;
    Parent parent_;
};

TEST_F(FrameworkTest, DataExchangeBindsOnce)
{
    RecordingStatic link;
    CDataExchange exchange = {&parent_, FALSE};
    DDX_Control(&exchange, 1045, link);
    DDX_Control(&exchange, 1045, link);
    EXPECT_EQ(childWindow_, link.m_hWnd);
    EXPECT_EQ(1, link.bound);
    EXPECT_EQ(&link, CWnd::FromHandlePermanent(childWindow_));
}

TEST_F(FrameworkTest, ParentReflectsColourAndClickToBoundControl)
{
    RecordingStatic link;
    // unbound: the parent handles the click itself
    ClickToParent();
    EXPECT_EQ(1, parent_.commands);

    ASSERT_TRUE(link.SubclassDlgItem(1045, &parent_));
    EXPECT_EQ(reinterpret_cast<LRESULT>(link.brush), ColourToParent());
    ClickToParent();
    EXPECT_EQ(1, link.colourCalls);
    EXPECT_EQ(1, link.clicks);
    EXPECT_EQ(1, parent_.commands);
}

TEST_F(FrameworkTest, DestroyedWindowUnbindsItsObject)
{
    RecordingStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(1045, &parent_));
    DestroyWindow(childWindow_);
    EXPECT_EQ(nullptr, link.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(childWindow_));
    DestroyWindow(parentWindow_);
    EXPECT_EQ(nullptr, parent_.m_hWnd);
}

TEST_F(FrameworkTest, BindingKeepsForeignUserDataAndGivesTheProcedureBack)
{
    SetWindowLongPtrW(childWindow_, GWLP_USERDATA, 77);
    RecordingStatic taken;
    EXPECT_FALSE(taken.SubclassDlgItem(1045, &parent_));
    EXPECT_EQ(77, SetWindowLongPtrW(childWindow_, GWLP_USERDATA, 0));
    LONG_PTR own = GetWindowLongPtrW(childWindow_, GWLP_WNDPROC);
    {
        RecordingStatic link;
        ASSERT_TRUE(link.SubclassDlgItem(1045, &parent_));
    }
    EXPECT_EQ(own, GetWindowLongPtrW(childWindow_, GWLP_WNDPROC));
    EXPECT_EQ(0, GetWindowLongPtrW(childWindow_, GWLP_USERDATA));
}

}  // namespace
