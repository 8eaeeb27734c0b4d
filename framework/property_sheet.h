#pragma once
// A property sheet and its pages over PropertySheetW. A page's handlers are
// reached through one WM_NOTIFY switch over the PSN_ codes; the sheet window
// is bound like any CWnd once comctl32 has made it.

#include "framework/wnd.h"
#include "platform/fixed_text.h"

#include <commctrl.h>

class CPropertySheet;

// What DoDataExchange is given: the page, and the direction.
struct CDataExchange {
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds dialog item id to control, once: later exchanges leave it bound.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CPropertyPage : public CWnd {
public:
    explicit CPropertyPage(UINT templateId);
    ~CPropertyPage() override;

    // Attributes
    PROPSHEETPAGEW m_psp = {};
    UINT GetTemplateId() const { return m_nTemplateId; }

    // Overridables
    // Result of PSN_SETACTIVE: TRUE accepts the page.
    virtual BOOL OnSetActive();
    // Results of PSN_WIZBACK and PSN_WIZNEXT: 0 = the neighbouring page,
    // -1 = stay on this page, a template id = go to the page made from it.
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    // TRUE lets the wizard be cancelled.
    virtual BOOL OnQueryCancel();
    virtual BOOL OnInitDialog();
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Runs DoDataExchange; TRUE when the controls are being read back.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
    CPropertySheet* m_pParentSheet = nullptr;  // not owned; set by AddPage
    bool m_bFirstSetActive = true;
};

class CPropertySheet : public CWnd {
public:
    CPropertySheet(const wchar_t* caption, HWND parent, UINT startPage);
    ~CPropertySheet() override;

    // Attributes
    PROPSHEETHEADERW m_psh = {};
    int GetPageCount() const { return m_nPages; }
    CPropertyPage* GetPage(int index) const;
    // Index of the page being shown (or being made to be shown).
    int GetActiveIndex() const;
    int GetPageIndex(const CPropertyPage* page) const;

    // Operations
    // The pages stay the caller's; they must outlive the modal run. A sheet
    // takes at most MAXPROPPAGES, as many as the system shows.
    void AddPage(CPropertyPage* page);
    void RemoveAllPages();
    INT_PTR DoModal();

    // Overridables
    virtual BOOL OnInitDialog();

private:
    friend class CPropertyPage;
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);

    CPropertyPage* m_pages[MAXPROPPAGES] = {};  // not owned
    int m_nPages = 0;
    int m_nActiveIndex = -1;
    // the setup's title and then some; a longer caption is not shown
    static constexpr size_t kCaptionUnits = 128;
    FixedText<kCaptionUnits> m_caption;
};
