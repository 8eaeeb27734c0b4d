// The licence link of the options page: its size, its colours and underline
// as the screen shows them, opening the licence page through the prefix's
// web handler or the ".htm" program, a target nothing can open, and the link
// driven by keys alone and seen by an accessibility client.
#include "screen_capture.h"
#include "wine_test_util.h"
#include "wizard_fixture.h"

#include <oleacc.h>

#include <algorithm>
#include <string>

namespace {

const COLORREF kBlue = RGB(0, 0, 238);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kPurple = RGB(85, 26, 139);

void MoveMouse(int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

class WizardLink : public WizardTest {
protected:
    void SetUp() override
    {
        recorder_ = RecordOpenedUrls();
        MoveMouse(GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    }
    // Waits until the link shows colour (and an underline in it).
    bool Shows(COLORREF colour, DWORD timeoutMs = kLongWait)
    {
        return WaitUntil([&] {
            ScreenPixels link = CaptureClient(link_);
            return link.Count(colour) > 10 && link.HasLineOf(colour);
        }, timeoutMs);
    }
    void ClickLink()
    {
        PostMessageW(link_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageW(link_, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }

    std::wstring recorder_;
    HWND link_ = nullptr;
};

TEST_F(WizardLink, ColoursUnderlineAndOpening)
{
    ASSERT_NE(nullptr, StartWizard());
    EXPECT_TRUE(NoBox());
    // where the windows of tests running beside this one cannot cover it
    PinToCorner(sheet_, ScreenCorner::kBottomRight);
    link_ = Item(kLink);
    ASSERT_NE(nullptr, link_);
    EXPECT_EQ(L"Photarium EULA", WindowText(link_));
    EXPECT_TRUE(GetWindowLongW(link_, GWL_STYLE) & SS_NOTIFY);

    // fitted to its underlined text (a static without a border)
    RECT client = {};
    GetClientRect(link_, &client);
    SIZE text = DialogTextSize(101, kLink, L"Photarium EULA", true);
    ASSERT_GT(text.cx, 0) << "the control's font";
    EXPECT_EQ(text.cx, client.right) << "width";
    EXPECT_EQ(text.cy, client.bottom) << "height";

    // blue and always underlined; red while the mouse is over it
    EXPECT_TRUE(Shows(kBlue));
    EXPECT_EQ(0, CaptureClient(link_).Count(kRed));
    RECT rect = {};
    GetWindowRect(link_, &rect);
    MoveMouse((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    EXPECT_TRUE(Shows(kRed));
    EXPECT_EQ(0, CaptureClient(link_).Count(kBlue));
    MoveMouse(GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    EXPECT_TRUE(Shows(kBlue));  // noticed by the hover timer

    // a click opens the licence page through the web handler, then purple
    ClickLink();
    std::string opened = WaitForOpenedUrls(1);
    size_t address = opened.find("http");
    size_t end = opened.find("/eula.htm");
    ASSERT_NE(std::string::npos, address) << opened;
    ASSERT_NE(std::string::npos, end) << opened;
    std::string url = opened.substr(address, end + 9 - address);
    EXPECT_TRUE(Shows(kPurple));
    EXPECT_TRUE(NoBox());

    // no web handler: the program registered for ".htm" gets the address
    // after its command, cut before "%1"
    for (const wchar_t* scheme : {L"http", L"https"})
        DeleteRegTree(HKEY_CLASSES_ROOT, scheme);
    SetRegText(HKEY_CLASSES_ROOT, L".htm", L"", L"PtestPage");
    SetRegText(HKEY_CLASSES_ROOT, L"PtestPage\\shell\\open\\command", L"",
               L"\"" + recorder_ + L"\" \"%1\"");
    ClickLink();
    opened = WaitForOpenedUrls(2);
    std::string second = opened.substr(opened.find('\n') + 1);
    std::string recorder(recorder_.begin(), recorder_.end());
    EXPECT_EQ("\"" + recorder + "\"  " + url + "\n", second);
    EXPECT_TRUE(NoBox());

    // nothing can open it: no message box, nothing started
    DeleteRegTree(HKEY_CLASSES_ROOT, L".htm");
    DeleteRegTree(HKEY_CLASSES_ROOT, L"PtestPage");
    ClickLink();
    EXPECT_TRUE(NoBox());  // the click has been handled by now
    EXPECT_FALSE(IsProgramRunning(L"url_recorder.exe"));
    EXPECT_EQ(opened, ReadFileBytes(kOpenedUrls));
    EXPECT_TRUE(wizard_->IsRunning());
}

TEST_F(WizardLink, KeysAloneOpenItAndClientsSeeALink)
{
    ASSERT_NE(nullptr, StartWizard());
    PinToCorner(sheet_, ScreenCorner::kBottomRight);
    SetForegroundWindow(sheet_);
    link_ = Item(kLink);
    // Tab reaches it in the template's order, after "&Keine"; a focus
    // rectangle then covers its corner, which shows the page's face otherwise
    int before = 0;
    ASSERT_TRUE(TabTo(sheet_, link_, &before));
    EXPECT_EQ(kNone, before);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(link_).At(0, 0) != face; }, kLongWait));

    // Enter and Space open it as a click does (the wizard stays where it
    // is), and so does the default action an accessibility client sees
    auto opens = [](size_t count) {
        std::string opened = WaitForOpenedUrls(count);
        return static_cast<size_t>(std::count(opened.begin(), opened.end(), '\n')) == count;
    };
    PressKey(VK_RETURN);
    EXPECT_TRUE(opens(1));
    PressKey(VK_SPACE);
    EXPECT_TRUE(opens(2));
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(link_).Count(kPurple) > 10; }, kLongWait));
    EXPECT_EQ(0, ActiveIndex(sheet_));
    EXPECT_TRUE(NoBox());
    CoInitialize(nullptr);
    IAccessible* object = nullptr;
    ASSERT_EQ(S_OK, AccessibleObjectFromWindow(link_, OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&object)));
    VARIANT self = {}, role = {};
    self.vt = VT_I4;  // CHILDID_SELF
    BSTR name = nullptr, action = nullptr;
    EXPECT_EQ(S_OK, object->get_accRole(self, &role));
    EXPECT_EQ(ROLE_SYSTEM_LINK, role.lVal);
    ASSERT_EQ(S_OK, object->get_accName(self, &name));
    ASSERT_EQ(S_OK, object->get_accDefaultAction(self, &action));
    EXPECT_EQ(L"Photarium EULA", std::wstring(name));
    EXPECT_EQ(L"open", std::wstring(action));
    EXPECT_EQ(S_OK, object->accDoDefaultAction(self));
    EXPECT_TRUE(opens(3));
    SysFreeString(name);
    SysFreeString(action);
    object->Release();
    CoUninitialize();
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(link_).At(0, 0) == face; }, kLongWait));
}

}  // namespace
