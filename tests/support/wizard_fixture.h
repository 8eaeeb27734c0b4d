#pragma once
// A running wizard for one test: started in SetUp, ended in TearDown.

#include "dialog_ids.h"
#include "wizard_ui.h"

#include <gtest/gtest.h>

#include <memory>


class WizardTest : public ::testing::Test {
protected:
    void TearDown() override { wizard_.reset(); }

    // Starts the wizard and waits for the options page; the test fails
    // when it does not come.
    HWND StartWizard()
    {
        wizard_ = std::make_unique<WizardProcess>();
        EXPECT_TRUE(wizard_->Start());
        sheet_ = wizard_->Sheet();
        EXPECT_NE(nullptr, sheet_);
        if (sheet_ != nullptr) {
            EXPECT_TRUE(WaitForPage(sheet_, 0));
        }
        return sheet_;
    }
    // Next (or Back) and wait for page index.
    bool GoTo(int index)
    {
        int from = ActiveIndex(sheet_);
        if (index > from)
            PressNext(sheet_);
        else
            PressBack(sheet_);
        return WaitForPage(sheet_, index);
    }
    HWND Item(int id) const { return PageItem(sheet_, id); }
    HWND Button(int id) const { return GetDlgItem(sheet_, id); }
    HWND Box(DWORD timeoutMs = kLongWait) const { return WaitForMessageBox(wizard_->Id(), timeoutMs); }
    // Once the wizard has handled what was posted to it so far: no message box.
    bool NoBox() const { return Settle() && WaitForMessageBox(wizard_->Id(), 0) == nullptr; }
    // Returns once the wizard has handled the messages posted to it before:
    // a change of the folder field's modified flag, posted behind them, shows.
    // Three rounds, for messages that those handlers post in turn.
    bool Settle() const
    {
        HWND options = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_INDEXTOHWND, 0, 0));
        HWND field = GetDlgItem(options, kFolder);
        if (field == nullptr)
            return false;
        auto modified = [field] { return SendMessageW(field, EM_GETMODIFY, 0, 0) != 0; };
        const bool before = modified();
        bool want = before;
        for (int round = 0; round < 3; ++round) {
            want = !want;
            PostMessageW(field, EM_SETMODIFY, want, 0);
            if (!WaitUntil([&] { return modified() == want; }, kLongWait))
                return false;
        }
        SendMessageW(field, EM_SETMODIFY, before, 0);
        return true;
    }

    std::unique_ptr<WizardProcess> wizard_;
    HWND sheet_ = nullptr;
};
