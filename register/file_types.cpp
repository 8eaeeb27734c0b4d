#include "register/file_types.h"

#include "platform/reg_key.h"
#include "platform/fixed_text.h"
#include "register/default_apps.h"
#include "register/format_associations.h"
#include "register/registration_texts.h"

#include <windows.h>

void AssociateExtension(const wchar_t* extension, const wchar_t* suffix, const wchar_t* command,
                        const wchar_t* iconText, int selected, int userChoice)
{
    PathText progId;
    PathText description;
    if (!FormatProgramIdentifier(suffix, progId) || !FormatTypeDescription(suffix, description))
        return;

    FixedText<kTextUnits> key;
    if (selected || IsAlwaysAssociatedExtension(extension)) {
        if (key.Format(L"SOFTWARE\\Classes\\.%ls", extension))
            SetKeyDefault(HKEY_LOCAL_MACHINE, key, progId);
    }
    if (key.Format(L"SOFTWARE\\Classes\\%ls", progId.Get()))
        SetKeyDefault(HKEY_LOCAL_MACHINE, key, description);
    if (key.Format(L"SOFTWARE\\Classes\\%ls\\shell\\open\\command", progId.Get()))
        SetKeyDefault(HKEY_LOCAL_MACHINE, key, command);
    if (key.Format(L"SOFTWARE\\Classes\\%ls\\DefaultIcon", progId.Get()))
        SetKeyDefault(HKEY_LOCAL_MACHINE, key, iconText);

    FixedText<kTextUnits> valueName;
    if (valueName.Format(L".%ls", extension)) {
        RegKey capabilities;
        if (capabilities.Open(HKEY_LOCAL_MACHINE,
                              L"SOFTWARE\\Photarium\\Capabilities\\FileAssociations",
                              KEY_SET_VALUE))
            capabilities.WriteString(valueName, progId);
    }

    if (!selected)
        return;
    // "Open with" offers the viewer for the type, on every version
    if (key.Format(L"SOFTWARE\\Classes\\.%ls\\OpenWithProgids", extension)) {
        RegKey offered;
        if (offered.Create(HKEY_LOCAL_MACHINE, key))
            offered.WriteString(progId, L"");
    }
    if (!userChoice || UserChoiceIsWindowsOwn())
        return;  // nobody's place, or the user's choice as Windows keeps it
    if (!key.Format(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.%ls"
                    L"\\UserChoice",
                    extension))
        return;
    // a fresh key, so that no hash or other value of an earlier choice stays
    RegDeleteKeyW(HKEY_CURRENT_USER, key);
    RegKey choice;
    if (!choice.Create(HKEY_CURRENT_USER, key))
        return;
    choice.WriteString(L"Progid", progId);
}

namespace {

struct FormatRows {
    const wchar_t* openCommand;
    const wchar_t* programIcon;
    const wchar_t* soundIcon;
    const wchar_t* videoIcon;
    const int* formatFlags;
    int userChoice;
};

void AssociateRows(const FormatRows& rows)
{
    for (int row = 0; row < kFormatCount; ++row) {
        const FormatAssociation& format = kFormatAssociations[row];
        const wchar_t* icon = L"%1";
        switch (format.icon) {
        case FormatIcon::File: icon = L"%1"; break;
        case FormatIcon::Program0: icon = rows.programIcon; break;
        case FormatIcon::Program8: icon = rows.soundIcon; break;
        case FormatIcon::Program9: icon = rows.videoIcon; break;
        }
        for (int i = 0; i < format.extensionCount; ++i)
            AssociateExtension(format.extensions[i].extension, format.extensions[i].suffix,
                               rows.openCommand, icon, rows.formatFlags[row], rows.userChoice);
    }
}

}  // namespace

void AssociateFormats(const wchar_t* openCommand, const wchar_t* programIcon,
                      const wchar_t* programPath, const int* formatFlags, int userChoice)
{
    FixedText<kRegistrationUnits> videoIcon;
    FixedText<kRegistrationUnits> soundIcon;
    videoIcon.Format(L"%ls,9", programPath);
    soundIcon.Format(L"%ls,8", programPath);
    // In row order on this thread: each registry write is a kernel call of
    // microseconds under its hive's lock. Threads would gain nothing and make
    // the order of the writes differ from run to run (no Process Monitor trace
    // would compare with the last), and two rows sharing a key would race.
    FormatRows rows = {openCommand, programIcon, soundIcon, videoIcon, formatFlags, userChoice};
    AssociateRows(rows);
}

void HideStoreAppHandlers()
{
    // store apps of Windows itself that would otherwise be offered for the types
    static const wchar_t* const kStoreAppKeys[] = {
        L"SOFTWARE\\Classes\\AppXvhc4p7vz4b485xfp46hhk3fq3grkdgjg",
        L"SOFTWARE\\Classes\\AppXk0g4vb8gvt7b93tg50ybcy892pge6jmt",
        L"SOFTWARE\\Classes\\AppX43hnxtbyyps62jhe9sqpdzxn1790zetc",
        L"SOFTWARE\\Classes\\AppX9rkaq77s0jzh1tyccadx9ghba15r6t3h",
        L"SOFTWARE\\Classes\\AppX6eg8h5sxqq90pv53845wmnbewywdqq5h",
    };
    for (const wchar_t* path : kStoreAppKeys) {
        RegKey key;
        if (key.Create(HKEY_CURRENT_USER, path))
            key.WriteString(L"NoOpenWith", L"");
    }
}
