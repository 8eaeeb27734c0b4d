#include "wizard/run_wizard.h"

#include "platform/os_version.h"
#include "framework/gdi.h"
#include "framework/win_app.h"
#include "resources/resource.h"
#include "wizard/wiz_property_page.h"
#include "wizard/wiz_property_sheet.h"
#include "platform/text_format.h"

#include <cwchar>

namespace {
// The wizard sheet lives for the whole process. It is made on first use, not
// before start-up: its notice control takes its colours and brush from
// user32 and gdi32, which must not load before the library search is limited.
CWizPropertySheet& WizardSheet()
{
    static CWizPropertySheet sheet;
    return sheet;
}
}  // namespace

void RunWizard(LOGFONTW& logFont)
{
    CWizPropertySheet& sheet = WizardSheet();
    logFont = LOGFONTW{};
    logFont.lfHeight = DpiScale(18, ScreenDpi(nullptr));
    logFont.lfWeight = 600;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = 0;
    if (IsOsVersionAtLeast(5, 1)) {
        logFont.lfWeight = 700;
        CopyText(logFont.lfFaceName, LF_FACESIZE, L"Arial");
    } else {
        CopyText(logFont.lfFaceName, LF_FACESIZE, L"MS Sans Serif");
    }
    sheet.m_fontTitle.Attach(CreateFontIndirectW(&logFont));
    sheet.m_hFileTypeList = nullptr;

    CWizPropertyPage options(IDD_PAGE_OPTIONS);
    CWizPropertyPage whatsNew(IDD_PAGE_WHATS_NEW);
    CWizPropertyPage fileTypes(IDD_PAGE_FILE_TYPES);
    CWizPropertyPage ready(IDD_PAGE_READY);
    CWizPropertyPage finish(IDD_PAGE_FINISH);
    CWizPropertyPage* pages[] = {&options, &whatsNew, &fileTypes, &ready, &finish};
    for (CWizPropertyPage* page : pages) {
        sheet.AddPage(page);
        page->m_pSheet = &sheet;
    }

    CWinApp* app = AfxGetApp();
    if (app != nullptr)
        app->m_pMainWnd = &sheet;
    sheet.DoModal();
    if (app != nullptr)
        app->m_pMainWnd = nullptr;
    // the pages go with this scope
    sheet.RemoveAllPages();
}
