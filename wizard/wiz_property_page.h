#pragma once
// The one page class of the wizard. A page does not know what it is from its
// template: every handler asks the sheet for the active index and runs the
// branch for that page.

#include "framework/property_sheet.h"

class CWizPropertySheet;

class CWizPropertyPage : public CPropertyPage {
public:
    explicit CWizPropertyPage(UINT templateId);
    ~CWizPropertyPage() override;

    // Attributes
    BOOL m_bFirstActivation = TRUE;         // the options page's one-time set-up is due
    BOOL m_bIncluded = TRUE;                // takes part in Back/Next
    CWizPropertySheet* m_pSheet = nullptr;  // not owned; set by start-up

    // Overridables
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnSetActive() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;
    // The template id of the nearest included page beyond the active one in
    // the given direction, or -1 when there is none.
    virtual LRESULT GetNextPageId(BOOL forward);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void OnSetActiveOptions();
    void OnSetActiveFileTypes();
    void OnSetActiveReady();
    void OnSetActiveFinish();
    LRESULT OnWizardNextOptions();
    LRESULT OnWizardNextReady();
    // IDS_VIEWER_RUNNING when the viewer's window exists or, given folder, a
    // process runs the viewer installed there; TRUE when it was shown.
    BOOL WarnIfViewerRunning(const wchar_t* folder = nullptr);
    // Enables Back and moves on.
    LRESULT MoveForward();

    void OnBrowse();
    void OnNoShortcuts();
    void OnShortcutClicked();
    void OnImagesOnly();
    void OnSelectAll();
    void OnSelectNone();
};
