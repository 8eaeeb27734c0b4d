// The options page: what it proposes, "&Keine" and the shortcut boxes, the
// folder check of Next and the running-viewer warning.
#include "messages.h"
#include "wine_test_util.h"
#include "wizard_fixture.h"

#include "register/registration_texts.h"

#include <string>

namespace {

const wchar_t kOpenCommandKey[] = L"SOFTWARE\\Classes\\Photarium\\shell\\open\\command";


class WizardOptions : public WizardTest {
protected:
    void SetUp() override { DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium"); }
};

TEST_F(WizardOptions, ProposesShortcutsAndTheDefaultFolder)
{
    std::wstring programFiles = ReadRegText(HKEY_LOCAL_MACHINE,
                                            L"Software\\Microsoft\\Windows\\CurrentVersion",
                                            L"ProgramFilesDir");
    ASSERT_NE(L"<missing>", programFiles);
    ASSERT_NE(nullptr, StartWizard());
    for (int id : {kDesktop, kThumbs, kGroup, kCurrentUser})
        EXPECT_TRUE(IsChecked(Item(id))) << id;
    EXPECT_FALSE(IsChecked(Item(kAllUsers)));
    EXPECT_EQ(programFiles + L"\\Photarium", WindowText(Item(kFolder)));
    EXPECT_TRUE(NoBox());
}

TEST_F(WizardOptions, ProposesTheRegisteredFolder)
{
    // also the longest folder an installation accepts
    const std::wstring longest = L"D:\\" + std::wstring(kMaxInstallFolderChars - 4, L'b') + L"\\";
    for (const std::wstring& folder : {std::wstring(L"D:\\Alt\\Bilder\\"), longest}) {
        SetRegText(HKEY_LOCAL_MACHINE, kOpenCommandKey, L"", L"\"" + folder + L"photar64.exe\" \"%1\"");
        ASSERT_NE(nullptr, StartWizard());
        EXPECT_EQ(folder, WindowText(Item(kFolder)));
    }
}

TEST_F(WizardOptions, NoShortcutsGreysTheScopeUntilOneIsTicked)
{
    ASSERT_NE(nullptr, StartWizard());
    Click(Item(kAllUsers));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(Item(kAllUsers)); }, kLongWait));

    Click(Item(kNone));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Item(kAllUsers)); }, kLongWait));
    for (int id : {kDesktop, kThumbs, kGroup})
        EXPECT_FALSE(IsChecked(Item(id))) << id;
    EXPECT_FALSE(IsWindowEnabled(Item(kCurrentUser)));
    EXPECT_FALSE(IsWindowEnabled(Item(kAllUsers)));

    for (int id : {kDesktop, kThumbs, kGroup}) {
        Click(Item(id));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Item(kAllUsers)) != FALSE; }, kLongWait)) << id;
        EXPECT_TRUE(IsWindowEnabled(Item(kCurrentUser))) << id;
        // the earlier choice is still there
        EXPECT_TRUE(IsChecked(Item(kAllUsers))) << id;
        EXPECT_FALSE(IsChecked(Item(kCurrentUser))) << id;
        // clearing the only ticked box greys the scope again
        Click(Item(id));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Item(kAllUsers)); }, kLongWait)) << id;
        EXPECT_FALSE(IsWindowEnabled(Item(kCurrentUser))) << id;
    }
}

TEST_F(WizardOptions, FolderCheckRefusesFoldersWithoutDrive)
{
    ASSERT_NE(nullptr, StartWizard());
    const wchar_t* refused[] = {L"", L"Photarium", L" C:\\Photarium", L"\\\\server\\share\\Photarium"};
    for (const wchar_t* folder : refused) {
        SetText(Item(kFolder), folder);
        PressNext(sheet_);
        HWND box = Box();
        ASSERT_TRUE(IsProgramBox(box, kMessage5, BoxButtons::kOk)) << folder;
        EXPECT_TRUE(AnswerMessageBox(box, IDOK)) << folder;
        EXPECT_EQ(0, ActiveIndex(sheet_)) << folder;
        EXPECT_FALSE(IsWindowEnabled(Button(kBack))) << folder;
        // the text is left as typed
        EXPECT_EQ(folder, WindowText(Item(kFolder))) << folder;
    }
    SetText(Item(kFolder), L"C:");
    PressNext(sheet_);
    EXPECT_TRUE(WaitForPage(sheet_, 1));
    EXPECT_TRUE(NoBox());
}

TEST_F(WizardOptions, RunningViewerIsReportedOnEveryActivation)
{
    FakeViewerWindow viewer;
    ASSERT_NE(nullptr, viewer.Get());
    wizard_ = std::make_unique<WizardProcess>();
    ASSERT_TRUE(wizard_->Start());
    for (int activation = 0; activation < 2; ++activation) {
        HWND box = Box(15000);
        ASSERT_TRUE(IsProgramBox(box, kMessage10, BoxButtons::kOk)) << activation;
        EXPECT_TRUE(AnswerMessageBox(box, IDOK)) << activation;
        sheet_ = wizard_->Sheet();
        ASSERT_NE(nullptr, sheet_);
        ASSERT_TRUE(WaitForPage(sheet_, 0));
        // only a warning: the page goes on
        ASSERT_TRUE(GoTo(1)) << activation;
        EXPECT_TRUE(NoBox()) << activation;
        PressBack(sheet_);
    }
}

}  // namespace
