// The wizard's sheet: button labels and states page by page, the question
// before leaving early, and the finish page's two actions.
#include "messages.h"
#include "wine_test_util.h"
#include "wizard_fixture.h"

#include <algorithm>
#include <string>

namespace {

struct ButtonStates {
    int page;
    bool back;
    bool next;
    const wchar_t* cancelLabel;
};

const ButtonStates kStates[] = {
    {0, false, true, kExitButton},
    {1, true, true, kExitButton},
    {2, true, true, kExitButton},
    {3, true, true, kExitButton},
    {4, false, false, kFinishButton},
};

class WizardNavigation : public WizardTest {
protected:
    // Checks the question box and answers it.
    void ExpectQuestionAndAnswer(int answer, const char* where)
    {
        HWND box = Box();
        ASSERT_TRUE(IsProgramBox(box, kCancelQuestion, BoxButtons::kYesNo)) << where;
        EXPECT_TRUE(AnswerMessageBox(box, answer)) << where;
    }
};

TEST_F(WizardNavigation, LabelsAndStatesOnEveryPage)
{
    ASSERT_NE(nullptr, StartWizard());
    for (const ButtonStates& row : kStates) {
        if (row.page > 0) {
            ASSERT_TRUE(GoTo(row.page)) << row.page;
        }
        EXPECT_EQ(L"< &Zurück", WindowText(Button(kBack))) << row.page;
        EXPECT_EQ(L"&Weiter >", WindowText(Button(kNext))) << row.page;
        EXPECT_EQ(row.cancelLabel, WindowText(Button(IDCANCEL))) << row.page;
        EXPECT_EQ(row.back, IsWindowEnabled(Button(kBack)) != FALSE) << row.page;
        EXPECT_EQ(row.next, IsWindowEnabled(Button(kNext)) != FALSE) << row.page;
        EXPECT_TRUE(IsWindowEnabled(Button(IDCANCEL))) << row.page;
    }
}

TEST_F(WizardNavigation, BackReturnsAndOptionsPageDisablesBackAgain)
{
    ASSERT_NE(nullptr, StartWizard());
    ASSERT_TRUE(GoTo(1));
    ASSERT_TRUE(GoTo(2));
    ASSERT_TRUE(GoTo(1));
    EXPECT_TRUE(IsWindowEnabled(Button(kBack)));
    ASSERT_TRUE(GoTo(0));
    EXPECT_FALSE(IsWindowEnabled(Button(kBack)));
    EXPECT_EQ(L"< &Zurück", WindowText(Button(kBack)));
}

TEST_F(WizardNavigation, LeavingEarlyAsksOnPagesZeroToThree)
{
    ASSERT_NE(nullptr, StartWizard());
    for (int page = 0; page <= 3; ++page) {
        if (page > 0) {
            ASSERT_TRUE(GoTo(page));
        }
        std::string where = "page " + std::to_string(page);

        // every way on the first page, one way on each of the others
        if (page == 0 || page == 1) {
            Click(Button(IDCANCEL));
            ExpectQuestionAndAnswer(IDNO, (where + " cancel").c_str());
        }
        if (page == 0 || page == 2) {
            PostMessageW(sheet_, WM_KEYDOWN, VK_ESCAPE, 0);
            ExpectQuestionAndAnswer(IDNO, (where + " esc").c_str());
        }
        if (page == 0 || page == 3) {
            PostMessageW(sheet_, WM_SYSCOMMAND, SC_CLOSE, 0);
            ExpectQuestionAndAnswer(IDNO, (where + " close").c_str());
        }

        EXPECT_TRUE(wizard_->IsRunning()) << where;
        EXPECT_EQ(page, ActiveIndex(sheet_)) << where;
        EXPECT_TRUE(NoBox()) << where << ": asked twice";
    }
}

TEST_F(WizardNavigation, YesEndsTheProgram)
{
    struct Way {
        int page;
        const char* name;
    } ways[] = {{0, "cancel"}, {1, "esc"}, {3, "close"}};
    for (const Way& way : ways) {
        ASSERT_NE(nullptr, StartWizard());
        for (int page = 1; page <= way.page; ++page)
            ASSERT_TRUE(GoTo(page));
        if (std::string(way.name) == "cancel")
            Click(Button(IDCANCEL));
        else if (std::string(way.name) == "esc")
            PostMessageW(sheet_, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageW(sheet_, WM_SYSCOMMAND, SC_CLOSE, 0);
        ExpectQuestionAndAnswer(IDYES, way.name);
        EXPECT_TRUE(wizard_->WaitForExit(kLongWait)) << way.name;
        // a second question would keep it alive
        EXPECT_EQ(nullptr, WaitForMessageBox(wizard_->Id(), 0)) << way.name;
    }
}

class WizardFinish : public WizardNavigation {
protected:
    void SetUp() override
    {
        // a running viewer would stop the wizard with its warning
        ASSERT_EQ(nullptr, FindWindowW(L"Photarium", nullptr));
        viewerFolder_ = FreshFolder(L"viewer");
        CopyFileW(HelperPath(L"fake_viewer.exe").c_str(), (viewerFolder_ + L"photar64.exe").c_str(),
                  FALSE);
        RecordOpenedUrls();
    }
    void TearDown() override
    {
        if (HWND viewer = FindWindowW(L"Photarium", nullptr))
            PostMessageW(viewer, WM_CLOSE, 0, 0);
        WaitUntil([] { return !IsProgramRunning(L"photar64.exe"); }, kLongWait);
        WizardNavigation::TearDown();
    }
    // Types the folder on the options page and goes to the finish page.
    void ReachFinishWith(const std::wstring& folderText)
    {
        ASSERT_NE(nullptr, StartWizard());
        SetText(Item(kFolder), folderText);
        for (int page = 1; page <= 4; ++page)
            ASSERT_TRUE(GoTo(page)) << page;
        EXPECT_TRUE(IsChecked(Item(kShowFaq)));
        EXPECT_TRUE(IsChecked(Item(kStartViewer)));
    }

    // The wizard has ended: whatever it started was started before that,
    // and is still running or has already left its trace.
    void ExpectNothingStarted(const char* how)
    {
        EXPECT_FALSE(IsProgramRunning(L"photar64.exe")) << how;
        EXPECT_FALSE(IsProgramRunning(L"url_recorder.exe")) << how;
        EXPECT_EQ(nullptr, FindWindowW(L"Photarium", nullptr)) << how;
        EXPECT_FALSE(FileExists(kOpenedUrls)) << how;
    }
    std::wstring viewerFolder_;
};

TEST_F(WizardFinish, StartsViewerAndOpensFaqPage)
{
    ASSERT_EQ(nullptr, FindWindowW(L"Photarium", nullptr));
    // trailing blanks and no final backslash: trimmed, one added
    std::wstring folder = viewerFolder_.substr(0, viewerFolder_.size() - 1);
    ReachFinishWith(folder + L"  ");
    Click(Button(IDCANCEL));

    HWND viewer = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (viewer = FindWindowW(L"Photarium", nullptr)) != nullptr; }, kLongWait));
    EXPECT_TRUE(wizard_->WaitForExit(kLongWait));
    EXPECT_TRUE(WaitUntil([&] { return viewer != nullptr && GetForegroundWindow() == viewer; }, kLongWait));

    std::string opened;
    WaitUntil([&] { return !(opened = ReadFileBytes(kOpenedUrls)).empty(); }, kLongWait);
    EXPECT_NE(std::string::npos, opened.find("/faq.htm")) << opened;
    EXPECT_EQ(1u, static_cast<size_t>(std::count(opened.begin(), opened.end(), '\n'))) << opened;
}

TEST_F(WizardFinish, BothBoxesClearedJustCloses)
{
    ReachFinishWith(viewerFolder_);
    Click(Item(kShowFaq));
    Click(Item(kStartViewer));
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Item(kShowFaq)) && !IsChecked(Item(kStartViewer)); }, kLongWait));
    Click(Button(IDCANCEL));
    EXPECT_TRUE(wizard_->WaitForExit(kLongWait));
    ExpectNothingStarted("cleared");
}

TEST_F(WizardFinish, CloseCommandAndEscAreNotQuestioned)
{
    for (bool escape : {false, true}) {
        ReachFinishWith(viewerFolder_);
        Click(Item(kShowFaq));
        Click(Item(kStartViewer));
        ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Item(kStartViewer)); }, kLongWait));
        if (escape)
            PostMessageW(sheet_, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageW(sheet_, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(wizard_->WaitForExit(kLongWait)) << escape;
        ExpectNothingStarted(escape ? "esc" : "close");
    }
}

}  // namespace
