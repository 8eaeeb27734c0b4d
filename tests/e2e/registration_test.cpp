// Silent installations of the real setup program, checked as a user's system
// sees them: registry values, shortcut files, store-app marks by Windows
// version, a second installation, and folders too long to register.
#include "register/registration_texts.h"
#include "messages.h"
#include "registration_checks.h"
#include "zip_builder.h"
#include "wine_test_util.h"
#include "wizard_ui.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const wchar_t kTarget[] = L"C:\\ptest\\Photarium";
const wchar_t kInstalled[] = L"C:\\ptest\\Photarium\\";

std::set<int> Rows(int first, int last)
{
    std::set<int> rows;
    for (int row = first; row <= last; ++row)
        rows.insert(row);
    return rows;
}

class SilentRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetWineWindowsVersion(L"win7");
        ResetRegistrationState();
        RemoveTree(kTarget);
        work_ = FreshFolder(L"work");
    }
    int Install(const std::wstring& switches)
    {
        return RunSetup(L"/silent /folder=" + std::wstring(kTarget) + L" " + switches, work_);
    }
    std::wstring work_;
};

TEST_F(SilentRegistration, EverySpellingOfTheFolderGivesTheSameData)
{
    std::wstring first;
    for (const wchar_t* folder : {L"C:\\ptest\\Photarium\\", L"C:\\ptest\\Photarium",
                                  L"\"   C:\\ptest\\Photarium  \""}) {
        SCOPED_TRACE(std::wstring(folder).size());
        ResetRegistrationState();
        ASSERT_EQ(0, RunSetup(L"/silent /folder=" + std::wstring(folder) + L" /thumbs=1", work_));
        ExpectApplicationRows(kInstalled, true);
        std::wstring snapshot = SnapshotRegistration();
        if (first.empty())
            first = snapshot;
        EXPECT_TRUE(first == snapshot);
    }
}

TEST_F(SilentRegistration, NoAssociationsAsked)
{
    ASSERT_EQ(0, Install(L""));
    ExpectApplicationRows(kInstalled, false);
    ExpectFormatRows(kInstalled, {});
    ExpectStoreAppMarks(false);
    ExpectDesktopShortcuts(kInstalled, false, false, false);
    EXPECT_FALSE(FolderExists(GroupFolder(false)));
}

TEST_F(SilentRegistration, ImageRowsOnWindows10)
{
    SetWineWindowsVersion(L"win10");
    RecordOpenedUrls();
    ASSERT_EQ(0, Install(L"/assoc=1"));
    ExpectFormatRows(kInstalled, Rows(0, 47));
    ExpectStoreAppMarks(true);
    // a silent run has ended: what it started is running or has left its line
    EXPECT_FALSE(IsProgramRunning(L"url_recorder.exe"));
    EXPECT_FALSE(FileExists(kOpenedUrls));
}

TEST_F(SilentRegistration, AllRowsOnWindows8)
{
    SetWineWindowsVersion(L"win8");
    ASSERT_EQ(0, Install(L"/assoc=2"));
    ExpectFormatRows(kInstalled, Rows(0, 61));
    ExpectStoreAppMarks(true);
}

TEST_F(SilentRegistration, NoStoreAppMarksOnWindows7)
{
    ASSERT_EQ(0, Install(L"/assoc=2"));
    ExpectFormatRows(kInstalled, Rows(0, 61));
    ExpectStoreAppMarks(false);
}

TEST_F(SilentRegistration, GroupAndDesktopOnWindows7HaveTheUninstaller)
{
    std::wstring group = GroupFolder(false);
    CreateDirectoryW(group.c_str(), nullptr);
    WriteFileBytes(group + L"Photarium 64 4.52.lnk", "alt");
    WriteFileBytes(group + L"Photarium 64 4.51.lnk", "alt");
    std::wstring common = GroupFolder(true);
    CreateDirectoryW(common.c_str(), nullptr);
    WriteFileBytes(common + L"Photarium 64 4.52.lnk", "alt");

    ASSERT_EQ(0, Install(L"/group=1 /desktop=1 /thumbs=1"));
    ExpectGroupShortcuts(kInstalled, false, true);
    ExpectDesktopShortcuts(kInstalled, false, true, true);
    // the other scope keeps its older shortcut
    EXPECT_EQ(std::vector<std::wstring>{L"Photarium 64 4.52.lnk"}, ListFolder(common));
    ExpectDesktopShortcuts(kInstalled, true, false, false);
}

TEST_F(SilentRegistration, GroupOnWindows10HasNoUninstaller)
{
    SetWineWindowsVersion(L"win10");
    ASSERT_EQ(0, Install(L"/group=1"));
    ExpectGroupShortcuts(kInstalled, false, false);
    ExpectDesktopShortcuts(kInstalled, false, false, false);
}

TEST_F(SilentRegistration, AllUsersShortcutsGoToTheCommonFolders)
{
    ASSERT_EQ(0, Install(L"/group=1 /desktop=1 /thumbs=1 /allusers=1"));
    ExpectGroupShortcuts(kInstalled, true, true);
    ExpectDesktopShortcuts(kInstalled, true, true, true);
    ExpectDesktopShortcuts(kInstalled, false, false, false);
    EXPECT_FALSE(FolderExists(GroupFolder(false)));
}

TEST_F(SilentRegistration, OnlyTheThumbnailsShortcut)
{
    ASSERT_EQ(0, Install(L"/desktop=0 /thumbs=1"));
    ExpectDesktopShortcuts(kInstalled, false, false, true);
    EXPECT_FALSE(FolderExists(GroupFolder(false)));
    ExpectApplicationRows(kInstalled, true);
}

TEST_F(SilentRegistration, SecondInstallationLeavesTheSameData)
{
    SetWineWindowsVersion(L"win10");
    const wchar_t switches[] = L"/group=1 /desktop=1 /thumbs=1 /assoc=1";
    ASSERT_EQ(0, Install(switches));
    std::wstring first = SnapshotRegistration();
    ASSERT_EQ(0, Install(switches));
    EXPECT_TRUE(first == SnapshotRegistration());
    ExpectGroupShortcuts(kInstalled, false, false);
    ExpectDesktopShortcuts(kInstalled, false, true, true);
}

TEST_F(SilentRegistration, LongestFolderIsInstalled)
{
    // the longest folder accepted, without its final backslash
    std::wstring folder = L"C:\\ptest\\" + std::wstring(kMaxInstallFolderChars - 10, L'l');
    RemoveTree(folder);
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + folder + L" /group=1", work_));
    // every file of the product is there, within a path Windows can open
    std::vector<ArchiveEntry> entries = ProductEntries();
    ASSERT_FALSE(entries.empty());
    for (const ArchiveEntry& entry : entries) {
        std::wstring path = folder + L"\\" + std::wstring(entry.name.begin(), entry.name.end());
        EXPECT_LE(path.size(), 259u) << entry.name;
        if (entry.name.back() != '/') {
            EXPECT_TRUE(FileExists(path)) << entry.name;
        }
    }
    ExpectApplicationRows(folder + L"\\", false);
    ExpectGroupShortcuts(folder + L"\\", false, true);
    EXPECT_TRUE(InstallLogTexts(work_).empty());
    RemoveTree(folder);
}

TEST_F(SilentRegistration, FolderOneCharacterLongerIsRefused)
{
    // leading blanks reach the installation untrimmed (trailing ones do not
    // survive the command line); the log shows the folder as the request holds it
    const std::wstring tooLong = L"C:\\ptest\\" + std::wstring(kMaxInstallFolderChars - 9, L'l');
    for (const std::wstring& folder : {tooLong, tooLong + L"\\", L"  " + tooLong,
                                       L"  " + tooLong + L"\\"}) {
        SCOPED_TRACE(folder.size());
        RemoveTree(work_ + L"Photarium_Install.log");
        EXPECT_EQ(1, RunSetup(L"/silent /folder=\"" + folder +
                                  L"\" /group=1 /desktop=1 /thumbs=1 /assoc=2",
                              work_));
        std::vector<std::string> texts = InstallLogTexts(work_);
        ASSERT_EQ(1u, texts.size());
        EXPECT_EQ(Latin1(kMessage5 + (L": " + folder) + L"\n"), texts[0]);
        EXPECT_FALSE(FolderExists(tooLong));
        ExpectNothingRegistered();
    }
}

}  // namespace
