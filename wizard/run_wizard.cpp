#include "wizard/run_wizard.h"

#include "framework/gdi.h"
#include "platform/os_version.h"
#include "platform/text_format.h"
#include "resources/resource.h"
#include "wizard/wiz_property_page.h"
#include "wizard/wiz_property_sheet.h"

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

void RunWizard()
{
    CWizPropertySheet& sheet = WizardSheet();
    LOGFONTW logFont = {};
    logFont.lfHeight = DpiScale(18, ScreenDpi(nullptr));
    logFont.lfWeight = FW_SEMIBOLD;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = 0;
    if (IsOsVersionAtLeast(5, 1)) {
        logFont.lfWeight = FW_BOLD;
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

    sheet.DoModal();
    // the pages go with this scope
    sheet.RemoveAllPages();
}
