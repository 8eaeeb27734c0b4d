// Silent runs of the real setup program: the command line, the folder steps,
// the install log and the exit codes.
#include "messages.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kOpenCommandKey[] = L"SOFTWARE\\Classes\\Photarium\\shell\\open\\command";


class SilentStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium");
        work_ = FreshFolder(L"work");
    }
    std::wstring work_;
};

TEST_F(SilentStartup, EmptyFolderIsRefusedAndLogged)
{
    EXPECT_EQ(1, RunSetup(L"/silent /folder=", work_));
    std::vector<std::string> texts = InstallLogTexts(work_);
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(Latin1(std::wstring(kMessage5) + L": \n"), texts[0]);
    EXPECT_EQ(std::vector<std::wstring>{L"Photarium_Install.log"}, ListFolder(work_));

    // a second failure appends, the older entry first
    EXPECT_EQ(1, RunSetup(L"/silent /folder=\"\"", work_));
    EXPECT_EQ(2u, InstallLogTexts(work_).size());
}

TEST_F(SilentStartup, FolderOnMissingDriveIsLogged)
{
    EXPECT_EQ(1, RunSetup(L"/silent /folder=Q:\\Nirgends\\Photarium", work_));
    std::vector<std::string> texts = InstallLogTexts(work_);
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(Latin1(std::wstring(kMessage11) + L": Q:\\Nirgends\\Photarium\\\n"), texts[0]);
}

TEST_F(SilentStartup, RunningViewerStopsEverything)
{
    FakeViewerWindow viewer;
    ASSERT_NE(nullptr, viewer.Get());
    std::wstring target = L"C:\\ptest\\viewer_running";
    RemoveTree(target);
    EXPECT_EQ(2, RunSetup(L"/silent /folder=" + target, work_));
    EXPECT_FALSE(FolderExists(target));
    std::vector<std::string> texts = InstallLogTexts(work_);
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(Latin1(std::wstring(kMessage10) + L"\n"), texts[0]);
}

TEST_F(SilentStartup, QuotedFolderWithSpacesIsCreated)
{
    std::wstring parent = FreshFolder(L"quoted");
    EXPECT_EQ(0, RunSetup(L"/silent /folder=\"" + parent + L"Mein Photarium  \" /desktop=0", work_));
    EXPECT_TRUE(FolderExists(parent + L"Mein Photarium\\Plugins"));
    EXPECT_EQ(std::vector<std::wstring>{L"Mein Photarium"}, ListFolder(parent));
    EXPECT_FALSE(FileExists(work_ + L"Photarium_Install.log"));
}

TEST_F(SilentStartup, FolderComesFromRegisteredOpenCommand)
{
    std::wstring previous = FreshFolder(L"previous") + L"Alt";
    SetRegText(HKEY_LOCAL_MACHINE, kOpenCommandKey, L"",
               L"\"" + previous + L"\\photar64.exe\" \"%1\"");
    EXPECT_EQ(0, RunSetup(L"/silent", work_));
    EXPECT_TRUE(FolderExists(previous + L"\\Plugins"));
}

TEST_F(SilentStartup, OpenCommandOfAnotherProgramIsIgnored)
{
    std::wstring other = FreshFolder(L"other") + L"Fremd";
    SetRegText(HKEY_LOCAL_MACHINE, kOpenCommandKey, L"", L"\"" + other + L"\\viewer.exe\" \"%1\"");
    SetRegText(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
               L"ProgramFilesDir", L"C:\\ptest\\pf");
    RemoveTree(L"C:\\ptest\\pf");
    EXPECT_EQ(0, RunSetup(L"/silent", work_));
    EXPECT_FALSE(FolderExists(other));
    // the program-files folder followed by "Photarium"
    EXPECT_TRUE(FolderExists(L"C:\\ptest\\pf\\Photarium\\Plugins"));
}

}  // namespace
