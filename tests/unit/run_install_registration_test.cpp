// RunInstall's confirmation question before associations (wizard mode) and
// its hand-over to the registration.
#include "install/install_request.h"
#include "install/run_install.h"

#include "registration_checks.h"
#include "messages.h"
#include "wine_test_util.h"
#include "wizard_ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

// Waits for message boxes with the program's caption while RunInstall runs,
// records the first one and answers it with No.
class QuestionWatcher {
public:
    QuestionWatcher() : thread_([this] { Watch(); }) {}
    ~QuestionWatcher() { Stop(); }
    void Stop()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    int boxes = 0;
    std::wstring text;
    bool hasYes = false, hasNo = false, hasOk = false;
    int defaultButton = 0;

private:
    void Watch()
    {
        while (!done_) {
            HWND box = FindWindowW(L"#32770", kCaption);
            if (box != nullptr && IsWindowVisible(box)) {
                if (boxes++ == 0) {
                    text = MessageBoxText(box);
                    hasYes = HasButton(box, IDYES);
                    hasNo = HasButton(box, IDNO);
                    hasOk = HasButton(box, IDOK);
                    defaultButton = DefaultButton(box);
                }
                // gone before the next look, so that it is counted once
                AnswerMessageBox(box, HasButton(box, IDNO) ? IDNO : IDOK);
            }
            Sleep(20);
        }
    }
    std::atomic<bool> done_{false};
    std::thread thread_;
};

class InstallRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRegistrationState();
        RemoveTree(L"C:\\ptest\\wizard_install");
        ClearInstallRequest(request_);
        request_.targetFolder.Assign(L"C:\\ptest\\wizard_install");
        GetCurrentDirectoryW(MAX_PATH, currentFolder_);
    }
    void TearDown() override { SetCurrentDirectoryW(currentFolder_); }
    InstallRequest request_;
    wchar_t currentFolder_[MAX_PATH];
};

TEST_F(InstallRegistration, WizardAsksBeforeAssociatingAndANoKeepsTheUsersChoice)
{
    request_.associate = 1;
    request_.formatFlags[23] = 1;
    QuestionWatcher watcher;
    EXPECT_EQ(1, RunInstall(request_));
    watcher.Stop();
    EXPECT_EQ(1, watcher.boxes);
    EXPECT_EQ(kMessage9, watcher.text);
    EXPECT_TRUE(watcher.hasYes);
    EXPECT_TRUE(watcher.hasNo);
    EXPECT_FALSE(watcher.hasOk);
    EXPECT_EQ(IDNO, watcher.defaultButton);
    // answered No: registered as if no format had been ticked
    ExpectApplicationRows(L"C:\\ptest\\wizard_install\\", false);
    ExpectFormatRows(L"C:\\ptest\\wizard_install\\", {});
}

TEST_F(InstallRegistration, NoQuestionWithoutAssociationsOrInSilentMode)
{
    struct Case {
        int associate;
        int silent;
    } cases[] = {{0, 0}, {1, 1}, {0, 1}};
    for (const Case& c : cases) {
        ResetRegistrationState();
        request_.associate = c.associate;
        request_.silent = c.silent;
        QuestionWatcher watcher;
        EXPECT_EQ(1, RunInstall(request_));
        watcher.Stop();
        EXPECT_EQ(0, watcher.boxes) << c.associate << c.silent;
        ExpectApplicationRows(L"C:\\ptest\\wizard_install\\", false);
    }
}

TEST_F(InstallRegistration, TooLongFolderIsRefusedInTheWizardToo)
{
    std::wstring folder = L"C:\\ptest\\" + std::wstring(224, L'w');
    request_.targetFolder.Assign(folder.c_str());
    QuestionWatcher watcher;  // answers the error box
    EXPECT_EQ(0, RunInstall(request_));
    watcher.Stop();
    EXPECT_EQ(1, watcher.boxes);
    EXPECT_EQ(kMessage5, watcher.text);
    EXPECT_TRUE(watcher.hasOk);
    EXPECT_FALSE(FolderExists(folder));
    ExpectNothingRegistered();
}

}  // namespace
