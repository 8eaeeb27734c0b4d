#include "framework/property_sheet.h"

namespace {
// The sheet whose modal run is under way; its window is bound when comctl32
// reports it made. One modal sheet at a time.
CPropertySheet* g_sheetInModalRun = nullptr;  // not owned
}  // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.m_hWnd == nullptr)
        control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

// ---------------------------------------------------------------------------
// CPropertyPage

CPropertyPage::CPropertyPage(UINT templateId) : m_nTemplateId(templateId)
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;  // the caption comes from the template
    m_psp.pszTemplate = MAKEINTRESOURCEW(templateId);
    m_psp.pfnDlgProc = &CPropertyPage::DialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

CPropertyPage::~CPropertyPage() = default;

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = false;  // OnInitDialog has just exchanged
    else
        UpdateData(FALSE);
    return TRUE;
}

LRESULT CPropertyPage::OnWizardBack() { return 0; }

LRESULT CPropertyPage::OnWizardNext() { return 0; }

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

BOOL CPropertyPage::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CPropertyPage::DoDataExchange(CDataExchange*) {}

BOOL CPropertyPage::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange = {this, saveAndValidate};
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CPropertyPage::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
    case PSN_SETACTIVE:
        if (m_pParentSheet != nullptr)
            m_pParentSheet->m_nActiveIndex = m_pParentSheet->GetPageIndex(this);
        *result = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *result = UpdateData(TRUE) ? FALSE : TRUE;
        return TRUE;
    case PSN_WIZBACK:
        *result = OnWizardBack();
        return TRUE;
    case PSN_WIZNEXT:
        *result = OnWizardNext();
        return TRUE;
    case PSN_QUERYCANCEL:
        *result = OnQueryCancel() ? FALSE : TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam)
{
    CPropertyPage* page = nullptr;
    if (message == WM_INITDIALOG) {
        const PROPSHEETPAGEW* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        page = reinterpret_cast<CPropertyPage*>(sheetPage->lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->m_hWnd = window;
    } else {
        page = reinterpret_cast<CPropertyPage*>(::GetWindowLongPtrW(window, DWLP_USER));
    }
    if (page == nullptr)
        return FALSE;
    return page->HandleMessage(message, wParam, lParam);
}

INT_PTR CPropertyPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_INITDIALOG:
        if (m_pParentSheet != nullptr) {
            // a page is made when it is about to be shown
            m_pParentSheet->m_nActiveIndex = m_pParentSheet->GetPageIndex(this);
            if (m_pParentSheet->m_hWnd == nullptr)
                m_pParentSheet->SubclassWindow(::GetParent(m_hWnd));
        }
        return OnInitDialog();
    case WM_NOTIFY:
        if (!OnNotify(wParam, lParam, &result))
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    case WM_COMMAND:
        if (ReflectChildNotify(message, wParam, lParam, &result))
            return TRUE;
        return OnCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
        if (ReflectChildNotify(message, wParam, lParam, &result))
            return static_cast<INT_PTR>(result);
        return FALSE;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        m_bFirstSetActive = true;
        return FALSE;
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// CPropertySheet

CPropertySheet::CPropertySheet(const wchar_t* caption, HWND parent, UINT startPage)
{
    m_caption.Assign(caption);
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_DEFAULT;
    m_psh.hwndParent = parent;
    m_psh.pszCaption = m_caption;
    m_psh.nStartPage = startPage;
}

CPropertySheet::~CPropertySheet() = default;

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[index];
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == nullptr || m_nActiveIndex < 0)
        return static_cast<int>(m_psh.nStartPage);
    return m_nActiveIndex;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const
{
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[i] == page)
            return i;
    }
    return -1;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (m_nPages == MAXPROPPAGES)
        return;
    page->m_pParentSheet = this;
    m_pages[m_nPages++] = page;
}

void CPropertySheet::RemoveAllPages()
{
    for (int i = 0; i < m_nPages; ++i)
        m_pages[i]->m_pParentSheet = nullptr;
    m_nPages = 0;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM)
{
    CPropertySheet* sheet = g_sheetInModalRun;
    if (message == PSCB_INITIALIZED && sheet != nullptr) {
        if (sheet->m_hWnd == nullptr)
            sheet->SubclassWindow(window);
        sheet->OnInitDialog();
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal()
{
    HPROPSHEETPAGE handles[MAXPROPPAGES];
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (int i = 0; i < m_nPages; ++i) {
        m_pages[i]->m_psp.hInstance = instance;
        handles[i] = ::CreatePropertySheetPageW(&m_pages[i]->m_psp);
        if (handles[i] == nullptr) {
            // the sheet destroys only what it was given
            for (int made = 0; made < i; ++made)
                ::DestroyPropertySheetPage(handles[made]);
            return -1;
        }
    }
    m_psh.dwFlags |= PSH_USECALLBACK;
    m_psh.pfnCallback = &CPropertySheet::SheetCallback;
    m_psh.hInstance = instance;
    m_psh.nPages = static_cast<UINT>(m_nPages);
    m_psh.phpage = m_nPages > 0 ? handles : nullptr;
    m_nActiveIndex = -1;

    CPropertySheet* outer = g_sheetInModalRun;
    g_sheetInModalRun = this;
    INT_PTR result = ::PropertySheetW(&m_psh);
    g_sheetInModalRun = outer;
    m_psh.phpage = nullptr;
    m_psh.nPages = 0;
    m_hWnd = nullptr;
    return result;
}
