#include "install/run_install.h"

#include "install/install_request.h"
#include "install/extract_payload.h"
#include "platform/folder_path.h"
#include "install/icon_library.h"
#include "install/install_log.h"
#include "install/settings_file.h"
#include "platform/message_box.h"
#include "platform/string_table.h"
#include "platform/text_format.h"
#include "register/application_registration.h"
#include "register/registration_texts.h"
#include "resources/product_identity.h"
#include "resources/resource.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr int kReportUnits = 520;

// the note of a silent run whose settings folder could not take the settings file
const wchar_t kSettingsFolderNote[] =
    L"Einstellungsordner zu lang, die Einstellungen bleiben im Zielverzeichnis";

// a silent run names each product file that kept its earlier state
const wchar_t kFileNotReplacedNote[] =
    L"Datei konnte nicht ersetzt werden und bleibt unver\u00e4ndert";

void LogFileNotReplaced(const wchar_t* path)
{
    wchar_t text[kReportUnits];
    if (FormatText(text, kReportUnits, L"%ls: %ls", kFileNotReplacedNote, path))
        WriteInstallLog(text);
}

// The unpacking ran, yet the viewer itself may not have come out of it (a
// folder of its name in the way); without it nothing works.
bool ViewerIsInstalled(const wchar_t* folder)
{
    wchar_t viewer[kTextUnits];
    if (!FormatText(viewer, kTextUnits, L"%ls" PHOTARIUM_PROGRAM_FILE, folder))
        return false;
    DWORD attributes = GetFileAttributesW(viewer);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where the folder stands in a silent run's log entry.
enum class FolderPlace { kAfterMessage, kBeforeMessage };

// Silent mode writes "message: folder" (or "folder: message") to the log,
// falling back to the log of startFolder; wizard mode shows the message alone
// in an error box.
void ReportFailure(const InstallRequest& request, UINT messageId, const wchar_t* folder,
                   FolderPlace place, const wchar_t* startFolder = nullptr)
{
    if (!request.silent) {
        ShowMessage(GetActiveWindow(), messageId, MB_ICONERROR | MB_OK);
        return;
    }
    wchar_t message[kTextUnits];
    LoadMessage(messageId, message, kTextUnits);
    wchar_t text[kReportUnits];
    if (place == FolderPlace::kBeforeMessage)
        FormatText(text, kReportUnits, L"%ls: %ls", folder, message);
    else
        FormatText(text, kReportUnits, L"%ls: %ls", message, folder);
    WriteInstallLogOrIn(startFolder, text);
}

}  // namespace

int RunInstall(const InstallRequest& request, wchar_t* installedFolder)
{
    wchar_t folder[kTextUnits];
    CopyText(folder, kTextUnits, request.targetFolder);

    // a folder too long for the texts built from it counts as invalid, so that
    // nothing is created and nothing is written truncated; so does a relative
    // one (the current folder is nothing to register) and the root of a
    // drive or share, which would get the whole product spilled into it
    wchar_t trimmed[kTextUnits];
    CopyText(trimmed, kTextUnits, folder);
    TrimSpaces(trimmed);
    if (folder[0] == L'\0' || !InstallFolderFits(folder) || !IsFolderBelowRoot(trimmed)) {
        ReportFailure(request, IDS_INVALID_FOLDER, folder, FolderPlace::kAfterMessage);
        return 0;
    }
    if (!MakeFolderPath(folder)) {
        ReportFailure(request, IDS_CANNOT_CREATE, folder, FolderPlace::kAfterMessage);
        return 0;
    }

    wchar_t pluginFolder[kTextUnits];
    FormatText(pluginFolder, kTextUnits, L"%lsPlugins", folder);
    if (pluginFolder[0] != L'\0')
        MakeFolderPath(pluginFolder);

    // unpacking the product
    int keepIconLibrary = 0;
    wchar_t iconLibrary[kTextUnits];
    if (pluginFolder[0] != L'\0' && FormatText(iconLibrary, kTextUnits, L"%lsIcons.dll", pluginFolder))
        keepIconLibrary = KeepInstalledIconLibrary(iconLibrary) ? 1 : 0;

    wchar_t startFolder[kReportUnits];
    CurrentFolder(startFolder, kReportUnits);
    wchar_t extractFolder[kTextUnits];
    CopyText(extractFolder, kTextUnits, folder);
    if (ExtractPayload(extractFolder, keepIconLibrary,
                       request.silent ? LogFileNotReplaced : nullptr) != 0 ||
        !ViewerIsInstalled(folder)) {
        ReportFailure(request, IDS_INSTALL_FAILED, folder, FolderPlace::kBeforeMessage, startFolder);
        return 0;
    }

    // Everything from here on names the folder as it was created: a blank
    // before an inner backslash is gone from it.
    if (installedFolder != nullptr)
        CopyText(installedFolder, kTextUnits, folder);

    // settings file
    // a settings folder the command line cut short is not used, as one too long
    wchar_t activeSettingsFile[kTextUnits];
    int settingsResult = UpdateSettingsFile(
        folder, request.settingsFolderCut ? L"" : request.settingsFolder, activeSettingsFile);
    if ((settingsResult == kSettingsFolderTooLong || request.settingsFolderCut) && request.silent) {
        wchar_t text[kReportUnits];
        if (FormatText(text, kReportUnits, L"%ls: %ls", kSettingsFolderNote,
                       request.settingsFolder))
            WriteInstallLog(text);
    }

    // confirmation question and registration: without a yes the user's
    // associations stay, and the installation goes on as if no format had
    // been ticked
    int associate = request.associate;
    const int* formatFlags = request.formatFlags;
    const int noFormats[kFormatCount] = {};
    if (associate && !request.silent &&
        ShowMessage(GetActiveWindow(), IDS_ASSOC_QUESTION,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        associate = 0;
        formatFlags = noFormats;
    }
    RegisterApplication(associate, folder, request.startMenuGroup, request.desktopShortcut,
                        request.thumbnailsShortcut, request.allUsers, formatFlags);

    // settings file conversion
    FILE* settings = activeSettingsFile[0] != L'\0' ? _wfopen(activeSettingsFile, L"rb") : nullptr;
    if (settings != nullptr)
        ConvertSettingsFileToUtf16(activeSettingsFile, settings);

    return 1;
}
