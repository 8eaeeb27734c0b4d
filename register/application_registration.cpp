#include "register/application_registration.h"

#include "platform/os_version.h"
#include "platform/fixed_text.h"
#include "platform/reg_key.h"
#include "register/file_types.h"
#include "register/registration_texts.h"
#include "register/shortcuts.h"
#include "resources/product_identity.h"
#include "resources/resource.h"

#include "product_facts.h"

#include <windows.h>
#include <shlobj.h>

namespace {

constexpr int kVersionMajor = PHOTARIUM_VERSION_MAJOR;
constexpr int kVersionMinor = PHOTARIUM_VERSION_MINOR;

const wchar_t kVerb[] = L"Durchsuchen mit &Photarium";
const wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" PHOTARIUM_UNINSTALL_KEY_NAME;

// "Browse with Photarium" on folders and drives, opening the thumbnails view.
void WriteFolderVerbs(const wchar_t* thumbsCommand)
{
    static const wchar_t* const kShellKeys[] = {L"SOFTWARE\\Classes\\Directory\\shell\\%ls",
                                                L"SOFTWARE\\Classes\\Drive\\shell\\%ls"};
    for (const wchar_t* format : kShellKeys) {
        FixedText<kRegistrationUnits> key;
        if (!key.Format(format, kVerb))
            continue;
        SetKeyDefault(HKEY_LOCAL_MACHINE, key, kVerb);
        FixedText<kRegistrationUnits> commandKey;
        if (commandKey.Format(L"%ls\\command", key.Get()))
            SetKeyDefault(HKEY_LOCAL_MACHINE, commandKey, thumbsCommand);
    }
}

// The KB the product takes installed, as the build measured the archive it
// packed (RCDATA 213 beside it); false for a program built without it.
bool InstalledSizeKb(DWORD* size)
{
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_INSTALLED_SIZE), RT_RCDATA);
    if (resource == nullptr || SizeofResource(nullptr, resource) != sizeof(DWORD))
        return false;
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return false;
    CopyMemory(size, data, sizeof(DWORD));
    return true;
}

// What the lists of installed programs and the deployment tools read beyond
// the name and version: the day, the web pages, that there is no modify or
// repair mode, and how to remove the product without a question.
void WriteUninstallFacts(RegKey& key, const RegistrationTexts& texts)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    FixedText<kRegistrationUnits> text;
    if (text.Format(L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay))
        key.WriteString(L"InstallDate", text);
    key.WriteDword(L"NoModify", 1);
    key.WriteDword(L"NoRepair", 1);
    key.WriteString(L"URLInfoAbout", PHOTARIUM_HOME_PAGE);
    key.WriteString(L"HelpLink", PHOTARIUM_HELP_PAGE);
    const wchar_t kQuietSwitch[] = PHOTARIUM_UNINSTALLER_SILENT_SWITCH;
    if (kQuietSwitch[0] != L'\0' &&
        text.Format(L"\"%lspt_uninstall.exe\" %ls", texts.installFolder.Get(), kQuietSwitch))
        key.WriteString(L"QuietUninstallString", text);
}

void WriteUninstallEntry(const RegistrationTexts& texts)
{
    SetKeyDefault(HKEY_LOCAL_MACHINE, kUninstallKey, L"");
    RegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_ALL_ACCESS))
        return;
    FixedText<kRegistrationUnits> text;
    if (text.Format(PHOTARIUM_DISPLAY_NAME_FORMAT, kVersionMajor, kVersionMinor))
        key.WriteString(L"DisplayName", text);
    if (text.Format(L"\"%lspt_uninstall.exe\"", texts.installFolder.Get()))
        key.WriteString(L"UninstallString", text);
    key.WriteString(L"Publisher", PHOTARIUM_PUBLISHER);
    key.WriteString(L"InstallLocation", texts.installFolder);
    if (text.Format(L"%d.%d", kVersionMajor, kVersionMinor))
        key.WriteString(L"DisplayVersion", text);
    key.WriteString(L"DisplayIcon", texts.programIcon);
    key.WriteDword(L"VersionMajor", kVersionMajor);
    key.WriteDword(L"VersionMinor", kVersionMinor);
    DWORD size = 0;
    if (InstalledSizeKb(&size))
        key.WriteDword(L"EstimatedSize", size);
    WriteUninstallFacts(key, texts);
}

// The program identifier, the application entry, the uninstall entry, the
// capabilities and the registered-application line.
void WriteApplicationEntries(const RegistrationTexts& texts)
{
    SetKeyDefault(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium", L"Photarium");
    SetKeyDefault(HKEY_LOCAL_MACHINE, kOpenCommandKey,
                  texts.openCommand);
    // an icon of an earlier installation would hide the file's own
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium\\DefaultIcon");

    SetKeyDefault(HKEY_CLASSES_ROOT, L"Applications\\photar64.exe\\shell\\open\\command",
                  texts.openCommand);
    {
        RegKey application;
        if (application.Open(HKEY_CLASSES_ROOT, L"Applications\\photar64.exe", KEY_ALL_ACCESS))
            application.WriteString(L"FriendlyAppName", L"Photarium 64-bit");
    }

    WriteUninstallEntry(texts);

    {
        RegKey software;
        software.Create(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Photarium");
    }
    FixedText<kRegistrationUnits> quoted;
    if (quoted.Format(L"\"%ls\"", texts.programPath.Get()))
        SetKeyDefault(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Photarium\\shell\\open\\command", quoted);
    {
        RegKey capabilities;
        if (capabilities.Create(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Photarium\\Capabilities"))
            capabilities.WriteString(
                L"ApplicationDescription",
                L"Picture viewer, editor and converter - one of the most popular viewers "
                L"worldwide");
    }
    {
        RegKey associations;
        associations.Create(HKEY_LOCAL_MACHINE,
                            L"SOFTWARE\\Photarium\\Capabilities\\FileAssociations");
    }
    {
        // only where the system keeps such a list: never created here
        RegKey registered;
        if (registered.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications",
                            KEY_SET_VALUE))
            registered.WriteString(L"Photarium", L"SOFTWARE\\Photarium\\Capabilities");
    }
}

}  // namespace

bool CanWriteMachineRegistration()
{
    static const wchar_t* const kParents[] = {
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", L"SOFTWARE\\Classes"};
    for (const wchar_t* parent : kParents) {
        // the access is checked when the key opens, as for every write later
        RegKey key;
        if (!key.Open(HKEY_LOCAL_MACHINE, parent, KEY_CREATE_SUB_KEY | KEY_SET_VALUE))
            return false;
    }
    return true;
}

int RegisterApplication(int associate, const InstallFolder& folder, int startMenuGroup,
                        int desktopShortcut, int thumbnailsShortcut, int allUsers,
                        const int* formatFlags, int userWrites)
{
    RegistrationTexts texts;
    if (!BuildRegistrationTexts(folder, texts))
        return 1;  // nothing is written for a refused folder

    if (startMenuGroup)
        CreateStartMenuGroup(texts.installFolder, allUsers);
    if (desktopShortcut)
        CreateDesktopShortcut(texts.programPath, L"Photarium 64.lnk", nullptr, 0,
                              L"Photarium 64 - Bildbetrachter", nullptr, allUsers);
    if (thumbnailsShortcut) {
        CreateDesktopShortcut(texts.programPath, L"Photarium 64 Thumbnails.lnk",
                              texts.programPath, 7, L"Photarium - Thumbnails", L"/thumbs",
                              allUsers);
        WriteFolderVerbs(texts.thumbsCommand);
    }

    WriteApplicationEntries(texts);
    AssociateFormats(texts.openCommand, texts.programIcon, texts.programPath, formatFlags,
                     userWrites);

    if (associate) {
        if (userWrites && IsOsVersionAtLeast(6, 2))
            HideStoreAppHandlers();
        SystemParametersInfoW(SPI_SETICONS, 0, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH | SHCNF_FLUSHNOWAIT, nullptr, nullptr);
    }
    return 1;
}
