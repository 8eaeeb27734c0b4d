#include "register/shortcuts.h"

#include "platform/com_ptr.h"
#include "platform/fixed_text.h"
#include "platform/folder_path.h"
#include "platform/os_version.h"
#include "platform/shell_folder.h"
#include "resources/product_identity.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

constexpr int kVersionMajor = PHOTARIUM_VERSION_MAJOR;
constexpr int kVersionMinor = PHOTARIUM_VERSION_MINOR;

constexpr int kNoFolderId = -1;

struct LinkFields {
    const wchar_t* target;
    const wchar_t* arguments;    // null: not set
    const wchar_t* iconFile;     // null: not set
    int iconIndex;
    const wchar_t* description;  // null: not set
};

// Makes one shortcut file: in folder, or in the special folder folderId when
// folder is null (looked up once the link object exists).
int MakeShortcut(const wchar_t* folder, int folderId, const wchar_t* fileName,
                 const LinkFields& fields)
{
    ComInitScope com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 link.Receive())))
        return 0;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive())))
        return 0;

    PathText specialFolder;
    if (folder == nullptr) {
        GetShellFolderPath(folderId, specialFolder);
        folder = specialFolder;
    }
    // the folder ends in its backslash (or, not found at all, is empty)
    FixedText<kTextUnits> path;
    if (!path.Assign(folder) || !path.Append(fileName))
        return 0;

    if (fields.iconFile != nullptr)
        link->SetIconLocation(fields.iconFile, fields.iconIndex);
    link->SetPath(fields.target);
    if (fields.arguments != nullptr)
        link->SetArguments(fields.arguments);
    if (fields.description != nullptr)
        link->SetDescription(fields.description);
    return SUCCEEDED(file->Save(path, TRUE)) ? 1 : 0;
}

// A text-file shortcut of the group: the installation folder + name as target.
int MakeGroupFileShortcut(const wchar_t* groupFolder, const wchar_t* fileName,
                          const wchar_t* format, const wchar_t* installFolder)
{
    FixedText<kTextUnits> target;
    if (!target.Format(format, installFolder))
        return 0;
    return CreateShortcutInFolder(groupFolder, fileName, target, nullptr, nullptr, 0);
}

}  // namespace

int CreateDesktopShortcut(const wchar_t* target, const wchar_t* fileName, const wchar_t* iconFile,
                          int iconIndex, const wchar_t* description, const wchar_t* arguments,
                          int allUsers)
{
    LinkFields fields = {target, arguments, iconFile, iconIndex, description};
    return MakeShortcut(nullptr, allUsers ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOP,
                        fileName, fields);
}

int CreateShortcutInFolder(const wchar_t* folder, const wchar_t* fileName, const wchar_t* target,
                           const wchar_t* arguments, const wchar_t* iconFile, int iconIndex)
{
    LinkFields fields = {target, arguments, iconFile, iconIndex, nullptr};
    return MakeShortcut(folder, kNoFolderId, fileName, fields);
}

int CreateStartMenuGroup(const wchar_t* installFolder, int allUsers)
{
    PathText programs;
    GetShellFolderPath(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, programs);
    FixedText<kTextUnits> group;
    if (!group.Format(L"%lsPhotarium", programs.Get()))
        return 0;
    MakeFolderPath(group);

    FixedText<kTextUnits> programPath;
    if (!programPath.Format(L"%ls" PHOTARIUM_PROGRAM_FILE, installFolder))
        return 0;

    FixedText<kTextUnits> name;
    if (name.Format(L"Photarium 64 %d.%2d.lnk", kVersionMajor, kVersionMinor))
        CreateShortcutInFolder(group, name, programPath, nullptr, nullptr, 0);

    // the group shortcuts of the two versions before
    for (int before = 1; before <= 2; ++before) {
        FixedText<kTextUnits> older;
        if (older.Format(L"%lsPhotarium 64 %d.%d.lnk", group.Get(), kVersionMajor,
                         kVersionMinor - before))
            DeleteFileW(older);
    }

    CreateShortcutInFolder(group, L"Photarium - Thumbnails.lnk", programPath, L"/thumbs",
                           programPath, 7);

    // Windows 8 and later offer uninstalling in the start menu themselves
    if (!IsOsVersionAtLeast(6, 2))
        MakeGroupFileShortcut(group, L"Photarium deinstallieren.lnk", L"%lspt_uninstall.exe",
                              installFolder);

    MakeGroupFileShortcut(group, L"\u00DCber Photarium.lnk", L"%lsp_about.txt", installFolder);
    MakeGroupFileShortcut(group, L"Was ist neu.lnk", L"%lsp_changes.txt", installFolder);
    MakeGroupFileShortcut(group, L"Kommandozeilen-Optionen.lnk", L"%lsp_options.txt",
                          installFolder);
    MakeGroupFileShortcut(group, L"Verf\u00FCgbare PlugIns.lnk", L"%lsp_plugins.txt",
                          installFolder);
    MakeGroupFileShortcut(group, L"Verf\u00FCgbare Sprachen.lnk", L"%lsp_languages.txt",
                          installFolder);
    return MakeGroupFileShortcut(group, L"Photarium Hilfe.lnk", L"%ls\\help\\photar32_deutsch.chm",
                                 installFolder);
}
