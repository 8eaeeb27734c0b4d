#include "wizard/wiz_property_sheet.h"

#include "platform/fixed_text.h"
#include "platform/message_box.h"
#include "platform/string_table.h"
#include "register/default_apps.h"
#include "resources/product_identity.h"
#include "resources/resource.h"
#include "wizard/web_links.h"

#include <shellapi.h>

CWizPropertySheet::CWizPropertySheet() : CPropertySheet(L"Photarium Setup", nullptr, 0)
{
    m_psh.dwFlags |= PSH_WIZARD;
}

CWizPropertySheet::~CWizPropertySheet() = default;

BOOL CWizPropertySheet::OnInitDialog()
{
    BOOL result = CPropertySheet::OnInitDialog();
    FixedText<kTextUnits> label;
    LoadMessage(IDS_EXIT_BUTTON, label);
    SetWizardButtonText(IDCANCEL, label);
    return result;
}

LRESULT CWizPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only top-level windows hear of a new colour scheme or high-contrast
    // setting: the controls are told (the list view and the notice keep
    // colours of their own), then everything is painted again.
    if (message != WM_SYSCOLORCHANGE && !(message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST))
        return CPropertySheet::WindowProc(message, wParam, lParam);
    if (message == WM_SYSCOLORCHANGE) {
        ::EnumChildWindows(m_hWnd, [](HWND child, LPARAM) -> BOOL {
            ::SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
            return TRUE;
        }, 0);
    }
    LRESULT result = CPropertySheet::WindowProc(message, wParam, lParam);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return result;
}

bool CWizPropertySheet::ConfirmExit()
{
    return ShowMessage(m_hWnd, IDS_CANCEL_QUESTION, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

BOOL CWizPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // the Cancel button and Esc
    if (LOWORD(wParam) == IDCANCEL) {
        if (GetActiveIndex() == kPageFinish)
            RunFinishActions();
        else if (!ConfirmExit())
            return TRUE;
    }
    return CPropertySheet::OnCommand(wParam, lParam);
}

void CWizPropertySheet::OnSysCommand(UINT id, LPARAM lParam)
{
    // the whole id: SC_CLOSE with other low bits is not the close command here
    if (id == SC_CLOSE && GetActiveIndex() != kPageFinish && !ConfirmExit())
        return;
    CPropertySheet::OnSysCommand(id, lParam);
}

void CWizPropertySheet::OnTimer(UINT_PTR)
{
    // the install pumps messages only inside its message boxes
    FixedText<kTextUnits> title;
    LoadMessage(IDS_CAPTION, title);
    SetWindowText(title);
}

void CWizPropertySheet::RunFinishActions()
{
    CPropertyPage* finish = GetPage(kPageFinish);
    if (finish == nullptr || finish->m_hWnd == nullptr)
        return;

    if (finish->IsDlgButtonChecked(IDC_SHOW_FAQ) == BST_CHECKED)
        ShellExecuteW(GetDesktopWindow(), L"open", kFaqAddress, nullptr, L"", SW_SHOW);
    if (finish->IsDlgButtonChecked(IDC_START_VIEWER) == BST_CHECKED)
        StartInstalledViewer();

    // Last, so that Windows' page comes up over the viewer and the FAQ page:
    // the user asked for the formats and makes the choice there, once the
    // installer is out of the way.
    if (m_bOpenDefaultApps) {
        m_bOpenDefaultApps = false;
        OpenDefaultAppsSettings();
    }
}

void CWizPropertySheet::StartInstalledViewer()
{
    PathText viewer;
    if (m_installedFolder.Empty() || !viewer.JoinPath(m_installedFolder, PHOTARIUM_PROGRAM_FILE))
        return;
    ShellExecuteW(GetActiveWindow(), L"open", viewer, L"", nullptr, SW_SHOW);

    // the viewer needs a moment to make its window
    Sleep(50);
    for (int attempt = 0; attempt < 5; ++attempt) {
        HWND window = FindWindowExW(nullptr, nullptr, PHOTARIUM_WINDOW_CLASS, nullptr);
        if (window != nullptr) {
            SetForegroundWindow(window);
            return;
        }
        Sleep(500);
    }
}
