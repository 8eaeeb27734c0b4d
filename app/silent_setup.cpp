#include "app/silent_setup.h"

#include "app/command_line.h"
#include "install/files_in_use.h"
#include "install/install_location.h"
#include "install/install_log.h"
#include "install/install_request.h"
#include "install/run_install.h"
#include "platform/fixed_text.h"
#include "platform/string_table.h"
#include "resources/product_identity.h"
#include "resources/resource.h"

namespace {

// the note at the usual place when "/log=" names no usable file
const wchar_t kLogFileNote[] =
    L"Protokolldatei nicht verwendbar, das Protokoll bleibt am \u00fcblichen Ort";

}  // namespace

void OpenRequestedLog(const wchar_t* commandLine, PathText& logFile)
{
    bool cut = false;
    ReadLogSwitch(commandLine, logFile, &cut);
    if (logFile.Empty() && !cut)
        return;
    PathText asked;
    asked.Assign(logFile);
    if (!cut && PrepareInstallLogFile(logFile))
        return;
    logFile.Clear();
    FixedText<kLongTextUnits> note;
    if (note.Format(L"%ls: %ls", kLogFileNote, asked.Get()))
        WriteInstallLog(note);
}

void CloseRequestedLog(const wchar_t* logFile, int exitCode, const wchar_t* installedFolder)
{
    if (logFile[0] == L'\0')
        return;
    FixedText<kLongTextUnits> line;
    if (exitCode == kExitInstalled)
        line.Format(L"Photarium %d.%d installiert in %ls", PHOTARIUM_VERSION_MAJOR,
                    PHOTARIUM_VERSION_MINOR, installedFolder);
    else
        line.Format(L"Photarium %d.%d nicht installiert, Exit-Code %d", PHOTARIUM_VERSION_MAJOR,
                    PHOTARIUM_VERSION_MINOR, exitCode);
    WriteInstallLogTo(logFile, line);
}

SilentExitCode RunSilentSetup(const wchar_t* commandLine)
{
    InstallRequest request;
    ClearInstallRequest(request);
    OpenRequestedLog(commandLine, request.logFile);
    FixedText<kTextUnits> installedFolder;
    SilentExitCode code = kExitInstallFailed;

    bool viewerRunning = IsViewerRunning();
    if (!viewerRunning) {
        PathText folder;
        if (!FindPreviousInstallFolder(folder))
            DefaultInstallFolder(folder);
        request.targetFolder.Assign(folder);
        request.silent = 1;
        if (!ApplySilentSwitches(commandLine, request)) {
            // a cut folder is refused before anything is created
            ReportInvalidFolder(request);
        } else if (!(viewerRunning = IsViewerRunningFrom(InstallFolder(request.targetFolder)))) {
            int result = RunInstall(request, &installedFolder);
            code = result == 1 ? kExitInstalled
                 : result == kInstallBusy ? kExitInstallBusy : kExitInstallFailed;
        }
    }
    if (viewerRunning) {
        FixedText<kTextUnits> message;
        LoadMessage(IDS_VIEWER_RUNNING, message);
        WriteInstallLogTo(request.logFile, message);
        code = kExitViewerRunning;
    }
    CloseRequestedLog(request.logFile, code, installedFolder);
    return code;
}
