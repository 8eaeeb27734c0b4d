#include "app/the_app.h"

#include "app/command_line.h"
#include "app/silent_setup.h"
#include "app/window_station.h"
#include "install/install_log.h"
#include "platform/fixed_text.h"
#include "platform/library_search.h"
#include "wizard/run_wizard.h"

#include <commctrl.h>

TheApp theApp;

namespace {

// a wizard nobody can see would wait for an answer until the agent gives up
const wchar_t kNoVisibleDesktop[] =
    L"Keine sichtbare Oberfl\u00e4che: Installation nur mit /silent m\u00f6glich.";

}  // namespace

TheApp::~TheApp() = default;

BOOL TheApp::InitInstance()
{
    HardenDllSearchPath();

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    const wchar_t* commandLine = GetCommandLineW();
    if (IsSilentCommandLine(commandLine)) {
        SetExitCode(RunSilentSetup(commandLine));
        return FALSE;
    }
    if (!IsWindowStationVisible()) {
        FixedText<kTextUnits> logFile;
        OpenRequestedLog(commandLine, logFile);
        WriteInstallLogTo(logFile, kNoVisibleDesktop);
        CloseRequestedLog(logFile, kExitInstallFailed, L"");
        SetExitCode(kExitInstallFailed);
        return FALSE;
    }
    RunWizard();
    return FALSE;
}
