#include "install/run_install.h"

#include "app/install_request.h"
#include "install/extract_payload.h"
#include "install/folder_path.h"
#include "install/icon_library.h"
#include "install/install_log.h"
#include "install/settings_file.h"
#include "platform/string_table.h"
#include "platform/text_format.h"
#include "register/application_registration.h"
#include "register/registration_texts.h"
#include "resources/resource.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr int kReportUnits = 520;

// the note of a silent run whose settings folder could not take the settings file
const wchar_t kSettingsFolderNote[] =
    L"Einstellungsordner zu lang, die Einstellungen bleiben im Zielverzeichnis";

// The unpacking ran, yet the viewer itself may not have come out of it (a
// folder of its name in the way); without it nothing works.
bool ViewerIsInstalled(const wchar_t* folder)
{
    wchar_t viewer[kTextUnits];
    if (!FormatText(viewer, kTextUnits, L"%lsphotar64.exe", folder))
        return false;
    DWORD attributes = GetFileAttributesW(viewer);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The current folder with a final backslash; empty when it does not fit.
void CurrentFolder(wchar_t* folder, DWORD units)
{
    DWORD length = GetCurrentDirectoryW(units, folder);
    if (length == 0 || length + 1 >= units) {
        folder[0] = L'\0';
        return;
    }
    if (folder[length - 1] != L'\\') {
        folder[length] = L'\\';
        folder[length + 1] = L'\0';
    }
}

// Silent mode writes "message: folder" (or "folder: message") to the log;
// wizard mode shows the message alone in an error box. A log that cannot take
// the entry (the full target drive the unpacking stopped on) hands it to the
// log of startFolder, so that a silent run never fails without a word.
void ReportFailure(const InstallRequest& request, const wchar_t* caption, UINT messageId,
                   const wchar_t* folder, bool folderFirst, const wchar_t* startFolder = nullptr)
{
    wchar_t message[kTextUnits];
    LoadMessage(messageId, message, kTextUnits);
    if (!request.silent) {
        MessageBoxW(GetActiveWindow(), message, caption, MB_ICONERROR | MB_OK);
        return;
    }
    wchar_t text[kReportUnits];
    if (folderFirst)
        FormatText(text, kReportUnits, L"%ls: %ls", folder, message);
    else
        FormatText(text, kReportUnits, L"%ls: %ls", message, folder);
    if (WriteInstallLog(text) || startFolder == nullptr || startFolder[0] == L'\0')
        return;
    wchar_t current[kReportUnits];
    CurrentFolder(current, kReportUnits);
    if (CompareStringOrdinal(current, -1, startFolder, -1, TRUE) != CSTR_EQUAL)
        WriteInstallLogIn(startFolder, text);
}

}  // namespace

int RunInstall(const InstallRequest& request, wchar_t* installedFolder)
{
    wchar_t caption[kTextUnits];
    LoadMessage(IDS_CAPTION, caption, kTextUnits);

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
        ReportFailure(request, caption, IDS_INVALID_FOLDER, folder, false);
        return 0;
    }
    if (!MakeFolderPath(folder)) {
        ReportFailure(request, caption, IDS_CANNOT_CREATE, folder, false);
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
    if (ExtractPayload(extractFolder, keepIconLibrary) != 0 || !ViewerIsInstalled(folder)) {
        ReportFailure(request, caption, IDS_INSTALL_FAILED, folder, true, startFolder);
        return 0;
    }

    // Everything from here on names the folder as it was created: a blank
    // before an inner backslash is gone from it.
    if (installedFolder != nullptr)
        CopyText(installedFolder, kTextUnits, folder);

    // settings file
    wchar_t activeSettingsFile[kTextUnits];
    if (UpdateSettingsFile(folder, request.settingsFolder, activeSettingsFile) ==
            kSettingsFolderTooLong &&
        request.silent) {
        wchar_t text[kReportUnits];
        if (FormatText(text, kReportUnits, L"%ls: %ls", kSettingsFolderNote,
                       request.settingsFolder))
            WriteInstallLog(text);
    }

    // confirmation question and registration
    if (request.associate && !request.silent) {
        wchar_t question[kTextUnits];
        LoadMessage(IDS_ASSOC_QUESTION, question, kTextUnits);
        // the registration runs whatever the answer
        MessageBoxW(GetActiveWindow(), question, caption,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    }
    RegisterApplication(request.associate, folder, request.startMenuGroup,
                        request.desktopShortcut, request.thumbnailsShortcut, request.allUsers,
                        request.formatFlags);

    // settings file conversion
    FILE* settings = activeSettingsFile[0] != L'\0' ? _wfopen(activeSettingsFile, L"rb") : nullptr;
    if (settings != nullptr)
        ConvertSettingsFileToUtf16(activeSettingsFile, settings);

    return 1;
}
