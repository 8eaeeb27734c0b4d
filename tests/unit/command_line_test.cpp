#include "app/command_line.h"
#include "install/install_request.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<InstallRequest> Parse(const std::wstring& line)
{
    auto request = std::make_unique<InstallRequest>();
    ClearInstallRequest(*request);
    request->targetFolder.Assign(L"C:\\Default\\");
    ApplySilentSwitches(line.c_str(), *request);
    return request;
}

int CountFlags(const InstallRequest& request)
{
    int count = 0;
    for (int flag : request.formatFlags)
        count += flag;
    return count;
}

TEST(SilentModeChoice, SubstringCaseSensitive)
{
    EXPECT_TRUE(IsSilentCommandLine(L"setup.exe /silent"));
    EXPECT_TRUE(IsSilentCommandLine(L"setup.exe /silently"));
    EXPECT_TRUE(IsSilentCommandLine(L"\"C:\\x/silent\\setup.exe\""));
    EXPECT_FALSE(IsSilentCommandLine(L"setup.exe /SILENT"));
    EXPECT_FALSE(IsSilentCommandLine(L"setup.exe"));
}

TEST(SilentSwitches, DefaultsWithoutSwitches)
{
    auto r = Parse(L"setup.exe /silent");
    EXPECT_STREQ(L"C:\\Default\\", r->targetFolder);
    EXPECT_EQ(0, r->desktopShortcut);
    EXPECT_EQ(0, r->thumbnailsShortcut);
    EXPECT_EQ(0, r->startMenuGroup);
    EXPECT_EQ(0, r->allUsers);
    EXPECT_EQ(0, r->associate);
    EXPECT_EQ(0, CountFlags(*r));
    EXPECT_STREQ(L"", r->settingsFolder);
}

TEST(SilentSwitches, QuotedFolderWithSpacesAndFollowingSwitches)
{
    auto r = Parse(L"setup.exe /silent /folder=\"C:\\Program Files\\Photo Tool\" /desktop=1 /assoc=1");
    EXPECT_STREQ(L"C:\\Program Files\\Photo Tool", r->targetFolder);
    EXPECT_NE(0, r->desktopShortcut);
    EXPECT_EQ(1, r->associate);
    EXPECT_EQ(48, CountFlags(*r));
    EXPECT_EQ(0, r->thumbnailsShortcut);
    EXPECT_EQ(0, r->startMenuGroup);
}

TEST(SilentSwitches, UnquotedFolderKeepsInnerSpace)
{
    auto r = Parse(L"setup.exe /silent /folder=C:\\My Apps /desktop=1");
    EXPECT_STREQ(L"C:\\My Apps", r->targetFolder);
    EXPECT_NE(0, r->desktopShortcut);
}

TEST(SilentSwitches, ValueEndsAtFirstSlash)
{
    EXPECT_STREQ(L"C:", Parse(L"x /silent /folder=C:/Tools/Photarium")->targetFolder);
    EXPECT_STREQ(L"", Parse(L"x /silent /folder=")->targetFolder);
    EXPECT_STREQ(L"", Parse(L"x /silent /folder=/desktop=1")->targetFolder);
}

TEST(SilentSwitches, Numbers)
{
    struct Case { const wchar_t* value; int expected; } cases[] = {
        {L"1", 1}, {L"0", 0}, {L"yes", 0}, {L"-1", 1}, {L"  7 ", 1}, {L"+0", 0}, {L"", 0},
        {L"99999999999999999999", 1}, {L"3abc", 1},
    };
    for (const auto& c : cases) {
        auto r = Parse(std::wstring(L"x /silent /desktop=") + c.value);
        EXPECT_EQ(c.expected != 0, r->desktopShortcut != 0) << c.value;
    }
    auto r = Parse(L"x /silent /thumbs=1 /group=1 /allusers=1");
    EXPECT_NE(0, r->thumbnailsShortcut);
    EXPECT_NE(0, r->startMenuGroup);
    EXPECT_NE(0, r->allUsers);
    EXPECT_EQ(0, r->desktopShortcut);
}

TEST(SilentSwitches, Associations)
{
    auto all = Parse(L"x /silent /assoc=2");
    EXPECT_EQ(62, CountFlags(*all));
    EXPECT_EQ(1, all->associate);

    auto images = Parse(L"x /silent /assoc=1");
    for (int i = 0; i < kFormatCount; ++i)
        EXPECT_EQ(i < 48 ? 1 : 0, images->formatFlags[i]) << i;

    for (const wchar_t* other : {L"0", L"3", L"5", L"-1", L"x"}) {
        auto r = Parse(std::wstring(L"x /silent /assoc=") + other);
        EXPECT_EQ(0, r->associate) << other;
        EXPECT_EQ(0, CountFlags(*r)) << other;
    }
    // "/assocallusers" does not hold "/assoc=" and sets nothing
    auto r = Parse(L"x /silent /assocallusers");
    EXPECT_EQ(0, r->associate);
    EXPECT_EQ(0, CountFlags(*r));
}

TEST(SilentSwitches, FirstOccurrenceCounts)
{
    auto r = Parse(L"x /silent /desktop=0 /desktop=1 /folder=C:\\A /folder=C:\\B");
    EXPECT_EQ(0, r->desktopShortcut);
    EXPECT_STREQ(L"C:\\A", r->targetFolder);
}

TEST(SilentSwitches, SettingsFolder)
{
    auto r = Parse(L"x /silent /ini=\"%APPDATA%\\Photarium\" /group=1");
    EXPECT_STREQ(L"%APPDATA%\\Photarium", r->settingsFolder);
}

TEST(SilentSwitches, OnlyFirst519CharactersAreSeen)
{
    std::wstring line = L"x /silent ";
    line += std::wstring(519 - line.size() - 10, L'a');
    // "/desktop=1" starts at 509 and ends at 519: still inside
    std::wstring inside = line + L"/desktop=1";
    EXPECT_NE(0, Parse(inside)->desktopShortcut);
    // one character later its value "1" is the 520th character and not seen
    std::wstring cut = line + L"b/desktop=1";
    EXPECT_EQ(0, Parse(cut)->desktopShortcut);
    std::wstring beyond = line + std::wstring(100, L'c') + L" /group=1";
    EXPECT_EQ(0, Parse(beyond)->startMenuGroup);
}

TEST(SilentSwitches, ValueLengthBoundedBySwitchWindow)
{
    std::wstring folder(400, L'd');
    auto r = Parse(L"x /silent /folder=" + folder);
    EXPECT_EQ(260u - 8u, wcslen(r->targetFolder));
    auto ini = Parse(L"x /silent /ini=" + folder);
    EXPECT_EQ(260u - 5u, wcslen(ini->settingsFolder));
    // a very long command line overflows nothing
    auto huge = Parse(L"x /silent /folder=" + std::wstring(100000, L'"'));
    EXPECT_LT(wcslen(huge->targetFolder), 260u);
}

TEST(SilentSwitches, ValueCutByAWindowIsMarked)
{
    const std::wstring head = L"x /silent /folder=C:\\", name(249, L'n'), blanks(300, L' ');
    InstallRequest r{};  // cut: blanks alone, or a value that ends right at the window, is not
    for (const std::wstring& tail : {name, name + L"/desktop=1", L"Ph" + blanks + L"/desktop=1", L"Ph /ini=C:\\S" + blanks})
        EXPECT_TRUE(ApplySilentSwitches((head + tail).c_str(), r) == 1 && r.settingsFolderCut == 0);
    EXPECT_TRUE(ApplySilentSwitches((head + name + L"n").c_str(), r) == 0);
    EXPECT_TRUE(ApplySilentSwitches((head + L"Ph /ini=C:\\" + name + name).c_str(), r) == 1 && r.settingsFolderCut == 1);
}

TEST(StripQuotesTest, Cases)
{
    struct Case { const wchar_t* in; const wchar_t* out; } cases[] = {
        {L"\"C:\\A B\" ", L"C:\\A B"},
        {L"C:\\A B  ", L"C:\\A B"},
        {L"  C:\\A", L"  C:\\A"},         // leading spaces stay
        {L"\"", L""},                      // a quote alone
        {L"\"\"", L""},
        {L"   ", L""},
        {L"\"C:\\A", L"C:\\A"},
        {L"C:\\A\"", L"C:\\A"},
        {L"\" C:\\A \" ", L" C:\\A"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        wchar_t buffer[260];
        wcscpy(buffer, c.in);
        StripQuotes(buffer);
        EXPECT_STREQ(c.out, buffer) << c.in;
    }
}

}  // namespace
