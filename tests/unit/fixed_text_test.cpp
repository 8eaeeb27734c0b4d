#include "platform/fixed_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What a change leaves in a text of 8 units that held "C:\A".
struct FixedTextCase {
    const wchar_t* name;
    bool (*change)(FixedText<8>&);
    bool fits;
    const wchar_t* after;
};

const FixedTextCase kCases[] = {
    {L"append fits", [](FixedText<8>& t) { return t.Append(L"\\bc"); }, true, L"C:\\A\\bc"},
    {L"append too long", [](FixedText<8>& t) { return t.Append(L"\\bcd"); }, false, L"C:\\A"},
    {L"assign too long", [](FixedText<8>& t) { return t.Assign(L"C:\\ABCDE"); }, false, L"C:\\A"},
    {L"backslash added", [](FixedText<8>& t) { return t.AppendBackslash(); }, true, L"C:\\A\\"},
    {L"join adds one backslash", [](FixedText<8>& t) { return t.JoinPath(L"C:\\", L"b"); }, true, L"C:\\b"},
    {L"join onto itself", [](FixedText<8>& t) { return t.JoinPath(t.Get(), L"bc"); }, true, L"C:\\A\\bc"},
    {L"join too long", [](FixedText<8>& t) { return t.JoinPath(t.Get(), L"bcd"); }, false, L"C:\\A"},
    {L"format fits", [](FixedText<8>& t) { return t.Format(L"%ls%d", L"D:", 42); }, true, L"D:42"},
    {L"format onto itself", [](FixedText<8>& t) { return t.Format(L"%ls\\%d", t.Get(), 7); }, true, L"C:\\A\\7"},
    {L"format too long", [](FixedText<8>& t) { return t.Format(L"%ls", L"12345678"); }, false, L"C:\\A"},
};

TEST(FixedTextTest, ChangesFitWholeOrLeaveTheText)
{
    for (const FixedTextCase& c : kCases) {
        FixedText<8> text;
        ASSERT_TRUE(text.Assign(L"C:\\A"));
        EXPECT_EQ(c.fits, c.change(text)) << c.name;
        EXPECT_EQ(std::wstring(c.after), text.Get()) << c.name;
    }
    FixedText<8> slash;
    EXPECT_FALSE(slash.EndsWithBackslash());
    EXPECT_TRUE(slash.AppendBackslash() && slash.EndsWithBackslash());
}

}  // namespace
