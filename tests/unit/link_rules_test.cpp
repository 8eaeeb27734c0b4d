#include "wizard/link_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool SameRect(const LinkRect& a, const LinkRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(FitLinkRect, KeepsTheEdgeItsAlignmentKeeps)
{
    // window 100..200 x 50..70, border 2 x 2; text 41 x 13 -> needed 43 x 15
    const LinkRect window = {100, 50, 200, 70};
    struct Case {
        const char* name;
        LinkAlignment alignment;
        LinkRect expected;
    } cases[] = {
        // left: keeps left and top
        {"left", {false, false, false}, {100, 50, 143, 65}},
        {"right", {false, false, true}, {157, 50, 200, 65}},
        // centred: (100 - 43) / 2 = 28 off each side
        {"centre", {false, true, false}, {128, 50, 172, 65}},
        // vertically centred: (20 - 15) / 2 = 2 off top and bottom
        {"centre image", {true, false, false}, {100, 52, 143, 68}},
        {"both", {true, true, false}, {128, 52, 172, 68}},
    };
    for (const Case& c : cases) {
        LinkRect fitted = FitLinkRect(window, 2, 2, 41, 13, c.alignment);
        EXPECT_TRUE(SameRect(c.expected, fitted))
            << c.name << ": " << fitted.left << "," << fitted.top << "," << fitted.right << ","
            << fitted.bottom;
    }
}

TEST(FitLinkRect, GrowsAndHalvesTowardZero)
{
    // needed 63 wide in 60: -3 / 2 = -1 on each side, so the control grows by 2
    LinkRect fitted = FitLinkRect({0, 0, 60, 10}, 0, 0, 63, 13, {true, true, false});
    EXPECT_TRUE(SameRect({-1, -1, 61, 11}, fitted))
        << fitted.left << "," << fitted.top << "," << fitted.right << "," << fitted.bottom;
    // a left-aligned control simply widens to the right
    fitted = FitLinkRect({10, 20, 30, 25}, 0, 0, 63, 13, {false, false, false});
    EXPECT_TRUE(SameRect({10, 20, 73, 33}, fitted));
}

TEST(BuildOpenCommand, CutsAtTheArgumentAndAppendsTheTarget)
{
    const wchar_t* target = L"https://www.photarium.example/eula.htm";
    struct Case {
        const wchar_t* command;
        const wchar_t* expected;
    } cases[] = {
        {L"\"C:\\B\\browser.exe\" \"%1\"", L"\"C:\\B\\browser.exe\"  https://www.photarium.example/eula.htm"},
        {L"\"C:\\B\\browser.exe\" -nohome \"%1\" -x", L"\"C:\\B\\browser.exe\" -nohome  https://www.photarium.example/eula.htm"},
        // the bare form when no quoted one occurs
        {L"C:\\B\\browser.exe %1", L"C:\\B\\browser.exe  https://www.photarium.example/eula.htm"},
        {L"C:\\B\\browser.exe -url %1 \"%2\"", L"C:\\B\\browser.exe -url  https://www.photarium.example/eula.htm"},
        // the quoted form wins over an earlier bare one
        {L"b.exe %1x \"%1\"", L"b.exe %1x  https://www.photarium.example/eula.htm"},
        // neither: the whole command
        {L"C:\\B\\browser.exe", L"C:\\B\\browser.exe https://www.photarium.example/eula.htm"},
        {L"", L" https://www.photarium.example/eula.htm"},
    };
    for (const Case& c : cases) {
        OpenLine out;
        ASSERT_TRUE(BuildOpenCommand(c.command, target, out)) << c.command;
        EXPECT_EQ(std::wstring(c.expected), out.Get()) << c.command;
    }
}

TEST(BuildOpenCommand, RefusesWhatDoesNotFit)
{
    // "abc", a blank, the target and the terminator fill the line exactly
    std::wstring target(OpenLine::kUnits - 5, L't');
    OpenLine out;
    out.Assign(L"old");
    EXPECT_TRUE(BuildOpenCommand(L"abc", target.c_str(), out));
    EXPECT_EQ(L"abc " + target, out.Get());
    out.Assign(L"old");
    EXPECT_FALSE(BuildOpenCommand(L"abcd", target.c_str(), out));
    EXPECT_EQ(std::wstring(L""), out.Get());
}

}  // namespace
