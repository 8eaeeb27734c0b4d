// Libraries planted beside the setup program (as a web page's download could
// put them into the Downloads folder) are never loaded, even when Wine is told
// to prefer them over its own.
#include "wine_test_util.h"
#include "wizard_ui.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const wchar_t* const kPlanted[] = {L"version", L"uxtheme", L"dwmapi",
                                   L"cryptbase", L"profapi", L"propsys"};
const wchar_t kMarkers[] = L"C:\\ptest\\markers\\";

class PlantedLibraries : public ::testing::Test {
protected:
    void SetUp() override
    {
        downloads_ = FreshFolder(L"Downloads");
        ASSERT_TRUE(CopyFileW(SetupExePath().c_str(), (downloads_ + L"photar64_setup.exe").c_str(), FALSE));
        for (const wchar_t* name : kPlanted) {
            std::wstring dll = std::wstring(name) + L".dll";
            ASSERT_TRUE(CopyFileW((TestDataPath("planted") + L"\\" + dll).c_str(),
                                  (downloads_ + dll).c_str(), FALSE)) << name;
            // prefer a library beside the program over Wine's own
            SetRegText(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", name, L"native,builtin");
        }
        RemoveTree(kMarkers);
    }
    void TearDown() override
    {
        for (const wchar_t* name : kPlanted)
            RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", name);
    }
    std::vector<std::wstring> Markers() { return ListFolder(kMarkers); }

    std::wstring downloads_;
};

// The markers can show a load: a library that is loaded leaves its file behind.
TEST_F(PlantedLibraries, MarkerShowsAPlainNameLoad)
{
    HMODULE module = LoadLibraryW((downloads_ + L"version.dll").c_str());
    ASSERT_NE(nullptr, module);
    FreeLibrary(module);
    EXPECT_EQ(std::vector<std::wstring>{L"version.loaded"}, Markers());
}

TEST_F(PlantedLibraries, SilentInstallationLoadsNone)
{
    std::wstring target = FreshFolder(L"planted_target");
    int code = RunProgram(L"\"" + downloads_ + L"photar64_setup.exe\" /silent /folder=" + target +
                              L" /desktop=1 /thumbs=1 /group=1 /assoc=2",
                          downloads_);
    EXPECT_EQ(0, code);
    EXPECT_TRUE(FileExists(target + L"photar64.exe"));
    EXPECT_TRUE(FileExists(target + L"Plugins\\Icons.dll"));
    EXPECT_EQ(std::vector<std::wstring>{}, Markers());
}

TEST_F(PlantedLibraries, WizardToItsFinishPageLoadsNone)
{
    std::wstring target = FreshFolder(L"planted_wizard");
    WizardProcess wizard;
    ASSERT_TRUE(wizard.Start(L"", downloads_ + L"photar64_setup.exe"));
    HWND sheet = wizard.Sheet();
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(WaitForPage(sheet, 0));
    SetText(PageItem(sheet, IDC_TARGET_FOLDER), target);
    // options, what's new, file types (the list and its theme), ready, finished
    for (int page = 1; page <= 4; ++page) {
        PressNext(sheet);
        ASSERT_TRUE(WaitForPage(sheet, page, 60000)) << "page " << page;
    }
    EXPECT_EQ(std::vector<std::wstring>{}, Markers());
    Click(PageItem(sheet, IDC_START_VIEWER));
    Click(PageItem(sheet, IDC_SHOW_FAQ));
    ASSERT_TRUE(WaitUntil([&] {
        return !IsChecked(PageItem(sheet, IDC_SHOW_FAQ)) && !IsChecked(PageItem(sheet, IDC_START_VIEWER));
    }, kLongWait));
    Click(GetDlgItem(sheet, IDCANCEL));  // "&Fertig stellen"
    EXPECT_TRUE(wizard.WaitForExit(kLongWait));
    EXPECT_EQ(std::vector<std::wstring>{}, Markers());
}

}  // namespace
