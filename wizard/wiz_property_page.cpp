#include "wizard/wiz_property_page.h"

#include "framework/child_fit.h"
#include "framework/gdi.h"
#include "install/files_in_use.h"
#include "install/install_location.h"
#include "install/install_request.h"
#include "install/run_install.h"
#include "platform/fixed_text.h"
#include "platform/folder_path.h"
#include "platform/message_box.h"
#include "platform/os_version.h"
#include "platform/string_table.h"
#include "register/default_apps.h"
#include "resources/resource.h"
#include "wizard/browse_folder.h"
#include "wizard/folder_rules.h"
#include "wizard/format_labels.h"
#include "wizard/web_links.h"
#include "wizard/whats_new.h"
#include "wizard/wiz_property_sheet.h"

#include <commctrl.h>

#include <cwchar>

CWizPropertyPage::CWizPropertyPage(UINT templateId) : CPropertyPage(templateId) {}

CWizPropertyPage::~CWizPropertyPage() = default;

void CWizPropertyPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    switch (m_pSheet->GetActiveIndex()) {
    case kPageOptions:
        DDX_Control(pDX, IDC_EULA_LINK, m_pSheet->m_linkEula);
        m_pSheet->m_linkEula.SetUnderlineMode(CHyperLink::kUnderlineAlways);
        m_pSheet->m_linkEula.SetLinkTarget(kEulaAddress);
        break;
    case kPageWhatsNew:
        DDX_Control(pDX, IDC_WHATS_NEW_TEXT, m_pSheet->m_textWhatsNew);
        break;
    case kPageReady: {
        CXColorStatic& notice = m_pSheet->m_staticInstalling;
        DDX_Control(pDX, IDC_INSTALLING, notice);
        notice.SetTextColor(RGB(255, 0, 0));
        notice.MakeTextBold();
        notice.UseArialFont(DpiScale(18, ScreenDpi(m_pSheet->m_hWnd)));
        break;
    }
    default:
        break;
    }
}

BOOL CWizPropertyPage::OnSetActive()
{
    MoveChildrenInside(m_hWnd);
    switch (m_pSheet->GetActiveIndex()) {
    case kPageOptions:
        OnSetActiveOptions();
        break;
    case kPageWhatsNew:
        LoadWhatsNewText(this);
        break;
    case kPageFileTypes:
        OnSetActiveFileTypes();
        break;
    case kPageReady:
        OnSetActiveReady();
        break;
    case kPageFinish:
        OnSetActiveFinish();
        break;
    default:
        break;
    }
    return CPropertyPage::OnSetActive();
}

LRESULT CWizPropertyPage::OnWizardBack() { return GetNextPageId(FALSE); }

LRESULT CWizPropertyPage::OnWizardNext()
{
    switch (m_pSheet->GetActiveIndex()) {
    case kPageOptions:
        return OnWizardNextOptions();
    case kPageReady:
        return OnWizardNextReady();
    default:
        return MoveForward();
    }
}

LRESULT CWizPropertyPage::GetNextPageId(BOOL forward)
{
    int step = forward ? 1 : -1;
    for (int index = m_pSheet->GetActiveIndex() + step;
         index >= 0 && index < m_pSheet->GetPageCount(); index += step) {
        auto* page = static_cast<CWizPropertyPage*>(m_pSheet->GetPage(index));
        if (page->m_bIncluded)
            return static_cast<LRESULT>(page->GetTemplateId());
    }
    return -1;
}

LRESULT CWizPropertyPage::MoveForward()
{
    LRESULT next = GetNextPageId(TRUE);
    if (next != -1)
        m_pSheet->EnableWizardButton(IDC_WIZ_BACK, TRUE);
    return next;
}

BOOL CWizPropertyPage::OnCommand(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_BROWSE:
    case IDC_INI_BROWSE:
        OnBrowse();
        return TRUE;
    case IDC_NO_SHORTCUTS:
        OnNoShortcuts();
        return TRUE;
    case IDC_DESKTOP_SHORTCUT:
    case IDC_THUMBS_SHORTCUT:
    case IDC_GROUP_SHORTCUT:
        OnShortcutClicked();
        return TRUE;
    case IDC_IMAGES_ONLY:
        OnImagesOnly();
        return TRUE;
    case IDC_SELECT_ALL:
        OnSelectAll();
        return TRUE;
    case IDC_SELECT_NONE:
        OnSelectNone();
        return TRUE;
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Options page

void CWizPropertyPage::OnSetActiveOptions()
{
    m_pSheet->EnableWizardButton(IDC_WIZ_BACK, FALSE);
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SETUP));
    m_pSheet->SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

    if (m_bFirstActivation) {
        m_pSheet->SetWizardButtonText(IDC_WIZ_BACK, L"< &Zurück");
        m_pSheet->SetWizardButtonText(IDC_WIZ_NEXT, L"&Weiter >");
        SendDlgItemMessage(IDC_TITLE_OPTIONS, WM_SETFONT,
                           reinterpret_cast<WPARAM>(m_pSheet->m_fontTitle.GetSafeHandle()), TRUE);
        CheckDlgButton(IDC_DESKTOP_SHORTCUT, BST_CHECKED);
        CheckDlgButton(IDC_THUMBS_SHORTCUT, BST_CHECKED);
        CheckDlgButton(IDC_GROUP_SHORTCUT, BST_CHECKED);
        CheckDlgButton(IDC_CURRENT_USER, BST_CHECKED);
        PathText folder;
        DefaultInstallFolder(folder);
        SetDlgItemText(IDC_TARGET_FOLDER, folder);
        if (FindPreviousInstallFolder(folder))
            SetDlgItemText(IDC_TARGET_FOLDER, folder);
    }

    WarnIfViewerRunning();
    m_bFirstActivation = FALSE;
}

LRESULT CWizPropertyPage::OnWizardNextOptions()
{
    FixedText<kTextUnits> folder;
    GetDlgItemText(IDC_TARGET_FOLDER, folder);
    if (!IsAcceptableTargetFolder(folder)) {
        ShowMessage(m_hWnd, IDS_INVALID_FOLDER, MB_ICONERROR);
        return -1;
    }
    // the install creates the folder; nothing is probed here
    return MoveForward();
}

void CWizPropertyPage::OnBrowse()
{
    PathText path;
    GetDlgItemText(IDC_TARGET_FOLDER, path);
    if (!BrowseForFolder(GetActiveWindow(), path))
        return;
    AppendProductFolder(path);
    SetDlgItemText(IDC_TARGET_FOLDER, path);
}

void CWizPropertyPage::OnNoShortcuts()
{
    CheckDlgButton(IDC_DESKTOP_SHORTCUT, BST_UNCHECKED);
    CheckDlgButton(IDC_THUMBS_SHORTCUT, BST_UNCHECKED);
    CheckDlgButton(IDC_GROUP_SHORTCUT, BST_UNCHECKED);
    // the scope keeps its tick for when a shortcut is chosen again
    ::EnableWindow(GetDlgItem(IDC_CURRENT_USER), FALSE);
    ::EnableWindow(GetDlgItem(IDC_ALL_USERS), FALSE);
}

void CWizPropertyPage::OnShortcutClicked()
{
    BOOL any = IsDlgButtonChecked(IDC_DESKTOP_SHORTCUT) == BST_CHECKED ||
               IsDlgButtonChecked(IDC_THUMBS_SHORTCUT) == BST_CHECKED ||
               IsDlgButtonChecked(IDC_GROUP_SHORTCUT) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(IDC_CURRENT_USER), any);
    ::EnableWindow(GetDlgItem(IDC_ALL_USERS), any);
}

// ---------------------------------------------------------------------------
// File-type page

namespace {

void SetStateImage(HWND list, int item, UINT stateImage)
{
    LVITEMW state = {};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(stateImage);
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

constexpr UINT kChecked = 2;
constexpr UINT kCleared = 1;

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace

void CWizPropertyPage::OnSetActiveFileTypes()
{
    if (m_pSheet->m_hFileTypeList != nullptr)
        return;  // filled on the first visit; the marks stay as the user left them
    HWND list = GetDlgItem(IDC_FILE_TYPE_LIST);
    m_pSheet->m_hFileTypeList = list;
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);

    RECT rect = {};
    GetWindowRect(list, &rect);
    int width = rect.right - rect.left;
    int resolution = ScreenDpi(list);

    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<wchar_t*>(L"");  // read only
    column.cx = width / 3;
    column.iSubItem = 0;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = (2 * width) / 3 - DpiScale(25, resolution);
    column.iSubItem = 1;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));

    for (int i = 0; i < kFormatCount; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(kFormatLabels[i].label);
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMW text = {};
        text.iSubItem = 1;
        text.pszText = const_cast<wchar_t*>(kFormatLabels[i].description);
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text));
    }
}

void CWizPropertyPage::OnImagesOnly()
{
    HWND list = m_pSheet->m_hFileTypeList;
    for (int i = 0; i < kImageFormatCount; ++i)
        SetStateImage(list, i, kChecked);
    for (int i = kImageFormatCount; i < ItemCount(list); ++i)
        SetStateImage(list, i, kCleared);
}

void CWizPropertyPage::OnSelectAll()
{
    HWND list = m_pSheet->m_hFileTypeList;
    for (int i = 0; i < ItemCount(list); ++i)
        SetStateImage(list, i, kChecked);
}

void CWizPropertyPage::OnSelectNone()
{
    HWND list = m_pSheet->m_hFileTypeList;
    for (int i = 0; i < ItemCount(list); ++i)
        SetStateImage(list, i, kCleared);
}

// ---------------------------------------------------------------------------
// Ready page

namespace {

// The width of text in the control's font.
LONG TextWidth(HWND control, const wchar_t* text, size_t length)
{
    SIZE extent = {};
    if (ScopedGetDC dc(control); dc != nullptr) {
        ScopedSelectObject font(dc, ControlFontOrStock(control));
        ::GetTextExtentPoint32W(dc, text, static_cast<int>(length), &extent);
    }
    return extent.cx;
}

// The folder line as it is, or, when it is wider than its control, cut in
// its middle so that the drive and the last folder stay readable: the static
// would wrap it and show only a sliver of its second line.
void SetFolderLine(HWND control, const wchar_t* line, size_t folderStart)
{
    RECT client = {};
    ::GetClientRect(control, &client);
    FolderLineMiddle middle = {};
    if (TextWidth(control, line, std::wcslen(line)) <= client.right ||
        !FindFolderLineMiddle(line, folderStart, &middle)) {
        ::SetWindowTextW(control, line);
        return;
    }
    // the line less one character at least, and "..."
    FixedText<kFolderLabelUnits + 2 + kTextUnits + 2> shortened;
    // as much of the leading folders as fits
    for (size_t keep = middle.tail - middle.head; keep-- > 0;) {
        shortened.Format(L"%.*ls...%ls", static_cast<int>(middle.head + keep), line, line + middle.tail);
        if (TextWidth(control, shortened, std::wcslen(shortened)) <= client.right)
            break;
    }
    ::SetWindowTextW(control, shortened);
}

}  // namespace

void CWizPropertyPage::OnSetActiveReady()
{
    SendDlgItemMessage(IDC_TITLE_READY, WM_SETFONT,
                       reinterpret_cast<WPARAM>(m_pSheet->m_fontTitle.GetSafeHandle()), TRUE);
    FixedText<kTextUnits> folder;
    if (CPropertyPage* options = m_pSheet->GetPage(kPageOptions))
        options->GetDlgItemText(IDC_TARGET_FOLDER, folder);
    TrimSpaces(folder.Buffer());
    FixedText<kFolderLabelUnits> label;
    LoadMessage(IDS_FOLDER_LABEL, label);
    // the label, ": " and the folder
    FixedText<kFolderLabelUnits + 2 + kTextUnits> line;
    if (line.Format(L"%ls: %ls", label.Get(), folder.Get()))
        SetFolderLine(GetDlgItem(IDC_READY_FOLDER), line, std::wcslen(label) + 2);

    CheckDlgButton(IDC_INI_IN_APPDATA, BST_CHECKED);
    CheckDlgButton(IDC_INI_IN_FOLDER, BST_UNCHECKED);
    if (!IsOsVersionAtLeast(6, 0)) {
        CheckDlgButton(IDC_INI_IN_FOLDER, BST_CHECKED);
        CheckDlgButton(IDC_INI_IN_APPDATA, BST_UNCHECKED);
    }
}

BOOL CWizPropertyPage::WarnIfViewerRunning(const wchar_t* folder)
{
    if (!IsViewerRunning() && (folder == nullptr || !IsViewerRunningFrom(InstallFolder(folder))))
        return FALSE;
    ShowMessage(m_hWnd, IDS_VIEWER_RUNNING, MB_ICONEXCLAMATION);
    return TRUE;
}

LRESULT CWizPropertyPage::OnWizardNextReady()
{
    InstallRequest request;
    ClearInstallRequest(request);
    if (CPropertyPage* options = m_pSheet->GetPage(kPageOptions)) {
        options->GetDlgItemText(IDC_TARGET_FOLDER, request.targetFolder);
        request.startMenuGroup = options->IsDlgButtonChecked(IDC_GROUP_SHORTCUT) == BST_CHECKED;
        request.desktopShortcut = options->IsDlgButtonChecked(IDC_DESKTOP_SHORTCUT) == BST_CHECKED;
        request.thumbnailsShortcut = options->IsDlgButtonChecked(IDC_THUMBS_SHORTCUT) == BST_CHECKED;
        request.allUsers = options->IsDlgButtonChecked(IDC_ALL_USERS) == BST_CHECKED;
    }
    if (WarnIfViewerRunning(request.targetFolder))
        return -1;
    HWND list = m_pSheet->m_hFileTypeList;
    // the count is asked again after every row; only the table's rows count
    for (int i = 0; i < ItemCount(list) && i < kFormatCount; ++i) {
        // any state image but the cleared box (kCleared) counts as ticked
        if (ListView_GetCheckState(list, i) != 0) {
            request.formatFlags[i] = 1;
            request.associate = 1;
        }
    }
    if (IsDlgButtonChecked(IDC_INI_IN_APPDATA) == BST_CHECKED)
        request.settingsFolder.Assign(L"%APPDATA%\\Photarium");
    request.silent = 0;

    // on the screen before the thread is busy
    m_pSheet->m_staticInstalling.ShowWindow(SW_SHOW);
    m_pSheet->m_staticInstalling.UpdateWindow();
    m_pSheet->SetTimer(kInstallTimerId, 1500);
    m_pSheet->EnableWizardButton(IDC_WIZ_BACK, FALSE);
    m_pSheet->EnableWizardButton(IDC_WIZ_NEXT, FALSE);
    m_pSheet->EnableWizardButton(IDCANCEL, FALSE);

    int associated = 0;
    int installed = RunInstall(request, &m_pSheet->m_installedFolder, &associated);

    m_pSheet->KillTimer(kInstallTimerId);
    m_pSheet->EnableWizardButton(IDC_WIZ_BACK, TRUE);
    m_pSheet->EnableWizardButton(IDC_WIZ_NEXT, TRUE);
    m_pSheet->EnableWizardButton(IDCANCEL, TRUE);

    if (installed == kInstallBusy) {
        // another installation ran: nothing changed, the user may try again here
        m_pSheet->m_staticInstalling.ShowWindow(SW_HIDE);
        return -1;
    }
    if (installed != 0) {
        m_pSheet->m_bOpenDefaultApps = associated != 0 && UserChoiceIsWindowsOwn();
        return GetNextPageId(TRUE);
    }
    // nothing runs any more: the notice goes with the page
    m_pSheet->m_staticInstalling.ShowWindow(SW_HIDE);
    // straight back to the options page, which disables Back again (without
    // one, the ready page stays: -1)
    CPropertyPage* options = m_pSheet->GetPage(kPageOptions);
    return options ? static_cast<LRESULT>(options->GetTemplateId()) : -1;
}

// ---------------------------------------------------------------------------
// Finish page

void CWizPropertyPage::OnSetActiveFinish()
{
    SendDlgItemMessage(IDC_TITLE_FINISH, WM_SETFONT,
                       reinterpret_cast<WPARAM>(m_pSheet->m_fontTitle.GetSafeHandle()), TRUE);
    CheckDlgButton(IDC_SHOW_FAQ, BST_CHECKED);
    CheckDlgButton(IDC_START_VIEWER, BST_CHECKED);
    FixedText<kTextUnits> label;
    LoadMessage(IDS_FINISH_BUTTON, label);
    m_pSheet->SetWizardButtonText(IDCANCEL, label);
    m_pSheet->EnableWizardButton(IDC_WIZ_BACK, FALSE);
    m_pSheet->EnableWizardButton(IDC_WIZ_NEXT, FALSE);
}
