// Silent runs of the real setup program: the command line, the folder steps,
// the install log and the exit codes.
#include "messages.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

// Runs at once, each its target folder's letter and its temporary folder's: each
// ends with 0, or with 1618 having changed nothing; the registry names one folder
// that a run with 0 installed.
TEST_F(SilentStartup, RunsAtOnceLeaveOneRunsRegistration)
{
    const std::wstring base = FreshFolder(L"parallel"), uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Photarium64";
    for (const std::wstring round : {L"AX AX", L"AX BX", L"AX BY", L"AX AY AZ", L"AX BX CX", L"AX BY CZ"}) {
        DeleteRegTree(HKEY_LOCAL_MACHINE, uninstall);
        std::vector<HANDLE> runs;
        for (size_t at = 0; at < round.size(); at += 3) {
            RemoveTree(base + round[at]);
            CreateDirectoryW((base + round[at + 1]).c_str(), nullptr);
            SetEnvironmentVariableW(L"TMP", (base + round[at + 1]).c_str());
            SetEnvironmentVariableW(L"TEMP", (base + round[at + 1]).c_str());
            runs.push_back(StartProgram(L"\"" + SetupExePath() + L"\" /silent /assoc=1 /folder=" + base + round[at], work_));
        }
        std::set<std::wstring> installed;
        for (size_t i = 0; i < runs.size(); ++i) {
            int code = WaitForProgram(runs[i]);
            bool shared = std::count(round.begin(), round.end(), round[3 * i]) > 1;
            EXPECT_TRUE(code == 0 || (code == 1618 && (shared || !FolderExists(base + round[3 * i])))) << code;
            if (code == 0)
                installed.insert(base + round[3 * i] + L"\\");
        }
        std::wstring folder = ReadRegText(HKEY_LOCAL_MACHINE, uninstall, L"InstallLocation");
        std::wstring open = L"\"" + folder + L"photar64.exe\" \"%1\"";
        EXPECT_EQ(1u, installed.count(folder)) << folder;
        EXPECT_EQ(open, ReadRegText(HKEY_LOCAL_MACHINE, kOpenCommandKey));
        EXPECT_EQ(open, ReadRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium.jpg\\shell\\open\\command"));
        for (const std::string& text : InstallLogTexts(work_))
            EXPECT_EQ(Latin1(kBusyMessage + std::wstring(L"\n")), text);
        RemoveTree(work_ + L"Photarium_Install.log");
    }
}

// A wizard on a window station nobody sees (a service's) ends at once with 1,
// saying why in the log "/log=" names.
TEST_F(SilentStartup, WizardOnAHiddenWindowStationEndsWithOne)
{
    HWINSTA visible = GetProcessWindowStation();
    HWINSTA hidden = CreateWindowStationW(L"PhotariumHidden", 0, WINSTA_ALL_ACCESS, nullptr);
    ASSERT_TRUE(hidden != nullptr && SetProcessWindowStation(hidden));
    HDESK desktop = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_TRUE(SetProcessWindowStation(visible) && desktop != nullptr);
    std::wstring log = work_ + L"logs\\";
    EXPECT_EQ(1, WaitForProgram(StartProgram(L"\"" + SetupExePath() + L"\" /log=" + log + L"Photarium_Install.log",
                                             work_, L"PhotariumHidden\\Default"), 30000));
    EXPECT_EQ((std::vector<std::string>{Latin1(kNoVisibleDesktop + std::wstring(L"\n")),
                                        Latin1(kNotInstalled + L"1\n")}), InstallLogTexts(log));
}

}  // namespace
