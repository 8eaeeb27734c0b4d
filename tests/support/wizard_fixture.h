#pragma once
// A running wizard for one test: started in SetUp, ended in TearDown.

#include "wizard_ui.h"

#include <gtest/gtest.h>

#include <memory>

constexpr int kBack = 0x3023;
constexpr int kNext = 0x3024;

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
    HWND Box(DWORD timeoutMs = 5000) const { return WaitForMessageBox(wizard_->Id(), timeoutMs); }
    bool NoBox(DWORD waitMs = 400) const
    {
        Sleep(waitMs);
        return WaitForMessageBox(wizard_->Id(), 0) == nullptr;
    }

    std::unique_ptr<WizardProcess> wizard_;
    HWND sheet_ = nullptr;
};
