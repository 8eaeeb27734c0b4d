#include "app/the_app.h"

#include "app/command_line.h"
#include "app/silent_setup.h"
#include "platform/library_search.h"
#include "wizard/run_wizard.h"

#include <commctrl.h>

TheApp theApp;

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
    RunWizard();
    return FALSE;
}
