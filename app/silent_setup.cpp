#include "app/silent_setup.h"

#include "app/command_line.h"
#include "install/install_location.h"
#include "install/install_log.h"
#include "install/install_request.h"
#include "install/run_install.h"
#include "platform/fixed_text.h"
#include "platform/string_table.h"
#include "resources/resource.h"

SilentExitCode RunSilentSetup(const wchar_t* commandLine)
{
    if (IsViewerRunning()) {
        FixedText<kTextUnits> message;
        LoadMessage(IDS_VIEWER_RUNNING, message.Buffer(), message.kUnits);
        WriteInstallLog(message);
        return kExitViewerRunning;
    }

    InstallRequest request;
    ClearInstallRequest(request);
    if (!FindPreviousInstallFolder(request.targetFolder))
        DefaultInstallFolder(request.targetFolder);
    request.silent = 1;
    if (!ApplySilentSwitches(commandLine, request)) {
        // a cut folder is refused before anything is created
        ReportInvalidFolder(request);
        return kExitInstallFailed;
    }
    return RunInstall(request) == 1 ? kExitInstalled : kExitInstallFailed;
}
