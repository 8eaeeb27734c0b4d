#include "app/silent_setup.h"

#include "app/command_line.h"
#include "install/install_location.h"
#include "install/install_log.h"
#include "install/install_request.h"
#include "install/run_install.h"
#include "platform/string_table.h"
#include "platform/text_format.h"
#include "resources/resource.h"

SilentExitCode RunSilentSetup(const wchar_t* commandLine)
{
    if (IsViewerRunning()) {
        wchar_t message[260];
        LoadMessage(IDS_VIEWER_RUNNING, message, 260);
        WriteInstallLog(message);
        return kExitViewerRunning;
    }

    InstallRequest request;
    ClearInstallRequest(request);
    if (!FindPreviousInstallFolder(request.targetFolder))
        DefaultInstallFolder(request.targetFolder);
    if (!ApplySilentSwitches(commandLine, request)) {
        // refused before anything is created, as RunInstall refuses an invalid folder
        wchar_t message[kTextUnits];
        wchar_t text[2 * kTextUnits];
        LoadMessage(IDS_INVALID_FOLDER, message, kTextUnits);
        if (FormatText(text, 2 * kTextUnits, L"%ls: %ls", message, request.targetFolder))
            WriteInstallLog(text);
        return kExitInstallFailed;
    }
    request.silent = 1;
    return RunInstall(request) == 1 ? kExitInstalled : kExitInstallFailed;
}
