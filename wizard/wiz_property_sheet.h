#pragma once
// The wizard: one static sheet holding the five pages, the objects the pages
// share, the question before leaving early and the finish page's actions.

#include "framework/gdi.h"
#include "framework/property_sheet.h"
#include "platform/fixed_text.h"
#include "wizard/color_static.h"
#include "wizard/hyperlink.h"
#include "wizard/whats_new.h"

// Page indices in the sheet.
enum WizardPage {
    kPageOptions = 0,
    kPageWhatsNew = 1,
    kPageFileTypes = 2,
    kPageReady = 3,
    kPageFinish = 4,
};

constexpr UINT_PTR kInstallTimerId = 2013;

class CWizPropertySheet : public CPropertySheet {
public:
    CWizPropertySheet();
    ~CWizPropertySheet() override;

    // Attributes
    CFont m_fontTitle;                 // owned; attached by start-up
    HWND m_hFileTypeList = nullptr;    // not owned; the file-type page's list once filled
    CHyperLink m_linkEula;             // the options page's licence link (IDC_EULA_LINK)
    CXColorStatic m_staticInstalling;  // the ready page's notice (IDC_INSTALLING)
    CReleaseNotesText m_textWhatsNew;  // the what's-new page's text (IDC_WHATS_NEW_TEXT)
    // The installation made formats the viewer's with the user's yes: where
    // Windows keeps the user's choice, its page for it opens as the wizard ends.
    bool m_bOpenDefaultApps = false;
    // The folder the installation made, ending in "\": the finish page
    // starts the viewer from it. Empty before.
    PathText m_installedFolder;

    // Operations
    // A wizard button of the sheet: IDC_WIZ_BACK, IDC_WIZ_NEXT or IDCANCEL.
    HWND GetWizardButton(int id) const { return GetDlgItem(id); }
    void EnableWizardButton(int id, BOOL enable) { ::EnableWindow(GetWizardButton(id), enable); }
    void SetWizardButtonText(int id, const wchar_t* text)
    {
        ::SetWindowTextW(GetWizardButton(id), text);
    }

    // Overridables
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

private:
    // "Installation beenden?": true when the user answers Yes.
    bool ConfirmExit();
    void RunFinishActions();
    void StartInstalledViewer();
};
