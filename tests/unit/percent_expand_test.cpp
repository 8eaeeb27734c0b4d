#include "install/percent_expand.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace {

// A fixed set of variables ("?": too long, no memory to read it); records every name asked for.
class FakeVariables : public VariableLookup {
public:
    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> asked;
    VariableFound Find(const wchar_t* name, PathText& value) override
    {
        asked.push_back(name);
        auto found = values.find(name);
        if (found == values.end() || found->second.empty())
            return VariableFound::kNone;
        bool tooLong = found->second == L"?" || found->second.size() >= value.kUnits;
        value.Assign(found->second == L"?" ? L"" : found->second.substr(0, value.kUnits - 1).c_str());
        return tooLong ? VariableFound::kTooLong : VariableFound::kValue;
    }
};

std::wstring Expand(const std::wstring& text, FakeVariables& variables)
{
    PathText out;
    wmemset(out.Buffer(), L'#', out.kUnits);
    ExpandPercentVariables(text.c_str(), out, variables);
    // terminated inside its units
    EXPECT_NE(nullptr, wmemchr(out.Get(), L'\0', out.kUnits));
    return out.Get();
}

TEST(ExpandPercentVariablesTest, References)
{
    FakeVariables variables;
    variables.values = {{L"APPDATA", L"C:\\users\\u\\AppData\\Roaming"}, {L"A", L"1"}, {L"B", L"2"}};
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L"%APPDATA%\\Photarium", L"C:\\users\\u\\AppData\\Roaming\\Photarium"},
        {L"D:\\Ohne\\Verweis", L"D:\\Ohne\\Verweis"},
        {L"%NIRGENDS%\\Photarium", L"\\Photarium"},  // undefined: disappears
        {L"x%%y", L"xy"},                           // "%%" yields nothing
        {L"%%", L""},
        {L"%A%%B%", L"12"},
        {L"%A%B%", L"1B"},  // "B" is text, the last "%" opens an empty name
        {L"C:\\%A", L"C:\\1"},           // no partner: the rest is the name
        {L"C:\\%A\\x", L"C:\\"},         // name "A\x" is undefined
        {L"%apPdata%", L""},             // the fake is case-sensitive; the name is passed as written
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Expand(c.text, variables)) << c.text;
}

TEST(ExpandPercentVariablesTest, NamesArePassedWithoutPercentSigns)
{
    FakeVariables variables;
    Expand(L"a%X%b%Y", variables);
    EXPECT_EQ((std::vector<std::wstring>{L"X", L"Y"}), variables.asked);
}

TEST(ExpandPercentVariablesTest, OverflowIsCutAndTerminated)
{
    FakeVariables variables;
    variables.values[L"LONG"] = std::wstring(200, L'v');
    // value that would run past the end
    std::wstring text = std::wstring(100, L'a') + L"%LONG%\\tail";
    EXPECT_EQ(std::wstring(100, L'a') + std::wstring(159, L'v'), Expand(text, variables));
    // plain text of 259 characters fits exactly; the next one is cut
    EXPECT_EQ(std::wstring(259, L'b'), Expand(std::wstring(259, L'b'), variables));
    EXPECT_EQ(std::wstring(258, L'b') + L"v", Expand(std::wstring(258, L'b') + L"%LONG%", variables));
    variables.values[L"UNREAD"] = L"?";
    PathText out;
    EXPECT_FALSE(ExpandPercentVariables(L"%UNREAD%\\Photarium", out, variables));
    EXPECT_FALSE(ExpandPercentVariables((L"%" + std::wstring(260, L'N') + L"%").c_str(), out, variables));
}

TEST(ExpandPercentVariablesTest, LongNameIsCutAndConsumed)
{
    FakeVariables variables;
    std::wstring name(300, L'N');
    Expand(L"%" + name + L"%rest", variables);
    ASSERT_EQ(1u, variables.asked.size());
    EXPECT_EQ(std::wstring(259, L'N'), variables.asked[0]);
    // the whole reference is consumed, what follows its closing "%" is kept
    EXPECT_EQ(L"rest", Expand(L"%" + name + L"%rest", variables));
}

TEST(ExpandPercentVariablesTest, ProcessEnvironment)
{
    SetEnvironmentVariableW(L"PHOTAR_TEST_DIR", L"C:\\Daten");
    SetEnvironmentVariableW(L"PHOTAR_TEST_HUGE", std::wstring(400, L'h').c_str());
    SetEnvironmentVariableW(L"PHOTAR_TEST_NONE", nullptr);
    struct Case {
        std::wstring text;
        std::wstring expected;
    } cases[] = {
        {L"%PHOTAR_TEST_DIR%\\Photarium", L"C:\\Daten\\Photarium"},
        {L"%photar_test_dir%\\x", L"C:\\Daten\\x"},  // environment names ignore case
        {L"%PHOTAR_TEST_NONE%\\Einstellungen", L"\\Einstellungen"},
        {L"%%\\a", L"\\a"},
        {L"%PHOTAR_TEST_HUGE%", std::wstring(259, L'h')},
        {L"x%PHOTAR_TEST_HUGE%", L"x" + std::wstring(258, L'h')},
    };
    for (const Case& c : cases) {
        PathText out;
        wmemset(out.Buffer(), L'#', out.kUnits);
        ExpandPercentVariables(c.text.c_str(), out);
        EXPECT_EQ(c.expected, std::wstring(out.Get())) << c.text;
    }
    SetEnvironmentVariableW(L"PHOTAR_TEST_DIR", nullptr);
    SetEnvironmentVariableW(L"PHOTAR_TEST_HUGE", nullptr);
}

}  // namespace
