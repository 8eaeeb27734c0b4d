#include "install/run_install.h"

#include "install/extract_payload.h"
#include "install/files_in_use.h"
#include "install/icon_library.h"
#include "install/install_lock.h"
#include "install/install_log.h"
#include "install/install_request.h"
#include "install/planted_links.h"
#include "install/percent_expand.h"
#include "install/run_account.h"
#include "install/settings_file.h"
#include "platform/fixed_text.h"
#include "platform/folder_path.h"
#include "platform/message_box.h"
#include "platform/string_table.h"
#include "register/application_registration.h"
#include "register/install_folder.h"
#include "resources/product_identity.h"
#include "resources/resource.h"

#include <windows.h>

#include <cstdio>
#include <utility>

namespace {

// "message: folder" or "note: path", two texts side by side
using ReportText = FixedText<kLongTextUnits>;

// the note of a silent run whose settings folder could not take the settings file
const wchar_t kSettingsFolderNote[] =
    L"Einstellungsordner zu lang, die Einstellungen bleiben im Zielverzeichnis";

// the note of a run under another account whose settings folder lies in that
// account's own profile, where no user's viewer finds it
const wchar_t kSettingsFolderOtherAccountNote[] =
    L"Einstellungsordner im Profil eines anderen Kontos, die Einstellungen bleiben im "
    L"Zielverzeichnis";

// the target folder's log names each product file that undid the unpacking
const wchar_t kFileNotReplacedNote[] =
    L"Datei konnte nicht ersetzt werden und bleibt unver\u00e4ndert";

// ahead of the name of the program that holds such a file
const wchar_t kHeldByNote[] = L"verwendet von";

class LogFileNotReplaced : public FileNotReplaced {
public:
    explicit LogFileNotReplaced(const wchar_t* logFile) : logFile_(logFile) {}
    void Report(const wchar_t* path) override
    {
        // the program that holds it, where Windows can tell
        FixedText<MAX_PATH> holder;
        ReportText text;
        bool named = FindFileHolder(path, holder)
                         ? text.Format(L"%ls: %ls (%ls %ls)", kFileNotReplacedNote, path,
                                       kHeldByNote, holder.Get())
                         : text.Format(L"%ls: %ls", kFileNotReplacedNote, path);
        if (named)
            WriteInstallLogTo(logFile_, text);
    }

private:
    const wchar_t* logFile_;  // not owned: the request's
};

// The unpacking ran, yet the viewer itself may not have come out of it (a
// folder of its name in the way); without it nothing works.
bool ViewerIsInstalled(const wchar_t* folder)
{
    PathText viewer;
    if (!viewer.JoinPath(folder, PHOTARIUM_PROGRAM_FILE))
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
    FixedText<kTextUnits> message;
    LoadMessage(messageId, message);
    ReportText text;
    if (place == FolderPlace::kBeforeMessage)
        text.Format(L"%ls: %ls", folder, message.Get());
    else
        text.Format(L"%ls: %ls", message.Get(), folder);
    if (!request.logFile.Empty())
        WriteInstallLogTo(request.logFile, text);
    else
        WriteInstallLogOrIn(startFolder, text);
}

// Step 1: the target folder, created. One that is not usable (see
// InstallFolder) is refused before anything is created, so that nothing is
// written truncated and nothing spilled into a root.
bool MakeTargetFolder(const InstallRequest& request, InstallFolder& folder)
{
    if (!folder.Usable()) {
        ReportInvalidFolder(request);
        return false;
    }
    // A junction or link on the way that another user planted would take the
    // whole product, and the removal of leftovers, wherever it points.
    if (HasPlantedLinkOnTheWay(folder.Path())) {
        ReportFailure(request, IDS_CANNOT_CREATE, folder.Typed(), FolderPlace::kAfterMessage);
        return false;
    }
    // Before anything is made: without the rights to register, the files
    // would stand there with no uninstall entry and no types, as a success.
    // The message tells the user to start the program as administrator.
    if (!CanWriteMachineRegistration()) {
        ReportFailure(request, IDS_INSTALL_FAILED, folder.Typed(), FolderPlace::kBeforeMessage);
        return false;
    }
    if (!folder.Create()) {
        ReportFailure(request, IDS_CANNOT_CREATE, folder.Path(), FolderPlace::kAfterMessage);
        return false;
    }
    return true;
}

// Step 2: unpacking the product, keeping a newer or foreign icon library.
bool UnpackProduct(const InstallRequest& request, const wchar_t* folder)
{
    PathText pluginFolder;
    bool madePlugins = false;
    if (pluginFolder.JoinPath(folder, L"Plugins")) {
        madePlugins = GetFileAttributesW(pluginFolder) == INVALID_FILE_ATTRIBUTES;
        MakeFolderPath(pluginFolder);  // it ends in "\" then
    }
    int keepIconLibrary = 0;
    PathText iconLibrary;
    if (!pluginFolder.Empty() && iconLibrary.JoinPath(pluginFolder, L"Icons.dll"))
        keepIconLibrary = KeepInstalledIconLibrary(iconLibrary) ? 1 : 0;

    // the log of the start folder takes the report when the target drive is full
    ReportText startFolder;
    CurrentFolder(startFolder);
    LogFileNotReplaced report(request.logFile);
    if (ExtractPayload(folder, keepIconLibrary, &report) != 0 ||
        !ViewerIsInstalled(folder)) {
        if (madePlugins)
            RemoveDirectoryW(pluginFolder);  // a failed unpacking leaves no folder of its own
        ReportFailure(request, IDS_INSTALL_FAILED, folder, FolderPlace::kBeforeMessage, startFolder);
        return false;
    }
    return true;
}

// Step 3: the confirmation question and the registration. Without a yes the
// user's associations stay, and the installation goes on as if no format had
// been ticked. Per-user places that are nobody's are not written: shortcuts
// go to all users. Returns whether formats were associated for the user at
// the desktop.
int RegisterViewer(const InstallRequest& request, const InstallFolder& folder, RunAccount account)
{
    int associate = request.associate;
    const int* formatFlags = request.formatFlags;
    const int noFormats[kFormatCount] = {};
    if (associate && !request.silent &&
        ShowMessage(GetActiveWindow(), IDS_ASSOC_QUESTION,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        associate = 0;
        formatFlags = noFormats;
    }
    bool userPlaces = OwnsUserPlaces(account);
    RegisterApplication(associate, folder, request.startMenuGroup, request.desktopShortcut,
                        request.thumbnailsShortcut, userPlaces ? request.allUsers : 1,
                        formatFlags, userPlaces ? 1 : 0);
    return userPlaces ? associate : 0;
}

// A settings folder in the profile of an account that is not the user's at
// the desktop is nobody's: the settings stay in the target folder.
bool SettingsFolderIsNobodys(const InstallRequest& request, RunAccount account)
{
    if (OwnsUserPlaces(account) || request.settingsFolder.Empty())
        return false;
    PathText expanded;
    ExpandPercentVariables(request.settingsFolder, expanded);
    return IsInOwnProfile(expanded);
}

// The lock is taken: in the wizard a message box, in silent mode a log line.
void ReportBusy(const InstallRequest& request)
{
    if (!request.silent) {
        ShowMessage(GetActiveWindow(), IDS_INSTALL_BUSY, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    FixedText<kTextUnits> message;
    LoadMessage(IDS_INSTALL_BUSY, message);
    WriteInstallLogTo(request.logFile, message);
}

}  // namespace

void ReportInvalidFolder(const InstallRequest& request)
{
    ReportFailure(request, IDS_INVALID_FOLDER, request.targetFolder, FolderPlace::kAfterMessage);
}

int RunInstall(const InstallRequest& request, PathText* installedFolder, int* associated)
{
    if (associated != nullptr)
        *associated = 0;
    InstallLock lock;
    if (!lock.Held()) {
        ReportBusy(request);
        return kInstallBusy;
    }
    RunAccount account = DecideRunAccount();

    // the one value of the folder from here on: the unpacking, the settings
    // file and the registration take it as it is
    InstallFolder folder(request.targetFolder);
    if (!MakeTargetFolder(request, folder) || !UnpackProduct(request, folder.Path()))
        return 0;
    if (installedFolder != nullptr)
        installedFolder->Assign(folder.Path());

    // a settings folder the command line cut short is not used, as one too long
    bool nobodys = SettingsFolderIsNobodys(request, account);
    PathText activeSettingsFile;
    int settingsResult = UpdateSettingsFile(
        folder, request.settingsFolderCut || nobodys ? L"" : request.settingsFolder.Get(),
        activeSettingsFile);
    if ((settingsResult == kSettingsFolderTooLong || request.settingsFolderCut || nobodys) &&
        request.silent) {
        ReportText text;
        if (text.Format(L"%ls: %ls", nobodys ? kSettingsFolderOtherAccountNote : kSettingsFolderNote,
                        request.settingsFolder.Get()))
            WriteInstallLogTo(request.logFile, text);
    }

    int formatsAssociated = RegisterViewer(request, folder, account);
    if (associated != nullptr)
        *associated = formatsAssociated;

    ScopedFile settings =
        !activeSettingsFile.Empty() ? OpenSettingsFile(activeSettingsFile) : ScopedFile();
    if (settings.IsValid())
        ConvertSettingsFileToUtf16(activeSettingsFile, std::move(settings));
    return 1;
}
