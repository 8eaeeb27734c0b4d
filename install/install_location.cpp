#include "install/install_location.h"

#include "platform/fixed_text.h"
#include "platform/folder_path.h"
#include "platform/reg_key.h"
#include "register/registration_texts.h"
#include "resources/product_identity.h"

#include <cstdlib>
#include <cwchar>

namespace {

// what follows the folder in the open command the registration writes
constexpr wchar_t kCommandTail[] = PHOTARIUM_PROGRAM_FILE L"\" \"%1\"";

// "ProgramFilesDir" is read into 260 bytes: 129 characters and the terminator.
constexpr DWORD kProgramFilesBytes = 260;

}  // namespace

bool FindPreviousInstallFolder(PathText& folder)
{
    folder.Clear();
    RegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kOpenCommandKey, KEY_QUERY_VALUE))
        return false;
    // room for the open command of every folder an installation accepts
    static_assert(1 + kMaxInstallFolderChars + sizeof(kCommandTail) / sizeof(wchar_t) <= kTextUnits,
                  "the open command of the longest target folder must be read whole");
    PathText stored;
    bool read = key.ReadString(L"", stored);
    DWORD type = REG_NONE;
    RegQueryValueExW(key.Get(), L"", nullptr, &type, nullptr, nullptr);
    key.Close();
    if (!read || stored[0] == L'\0' || wcsstr(stored, PHOTARIUM_PROGRAM_FILE) == nullptr)
        return false;
    // an expandable value names its folder through references such as %ProgramFiles%
    wchar_t command[kTextUnits];
    if (type != REG_EXPAND_SZ)
        CopyText(command, kTextUnits, stored);
    else if (ExpandEnvironmentStringsW(stored, command, kTextUnits) - 1 >= kTextUnits - 1)
        return false;

    // expected form: "C:\folder\photar64.exe" "%1"
    wchar_t path[kTextUnits];
    const wchar_t* start = command[0] == L'"' ? command + 1 : command;
    size_t len = 0;
    while (start[len] != L'\0' && start[len] != L'"' && len + 1 < kTextUnits)
        ++len;
    wmemcpy(path, start, len);
    path[len] = L'\0';

    // the folder is all up to the last separator ahead of the program's name,
    // or a drive alone ("C:photar64.exe"); no part of it is cut to a buffer
    size_t folderLen = 0;
    for (size_t i = 0; i < len; ++i) {
        if (path[i] == L'\\' || path[i] == L'/')
            folderLen = i + 1;
    }
    if (folderLen == 0 && len >= 2 && path[1] == L':')
        folderLen = 2;
    path[folderLen] = L'\0';
    folder.Assign(path);
    if (folderLen > 0)
        folder.AppendBackslash();
    // a folder that is not absolute, or no folder at all, is no installation to follow
    if (!IsFolderBelowRoot(folder)) {
        folder.Clear();
        return false;
    }
    return true;
}

void DefaultInstallFolder(PathText& folder)
{
    folder.Assign(L"C:\\Photarium\\");
    RegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                  KEY_QUERY_VALUE))
        return;
    FixedText<kProgramFilesBytes / sizeof(wchar_t)> programFiles;
    bool read = key.ReadString(L"ProgramFilesDir", programFiles);
    key.Close();
    // 129 characters, a backslash and "Photarium" always fit
    if (read)
        folder.JoinPath(programFiles, L"Photarium");
}

bool IsViewerRunning()
{
    return FindWindowW(PHOTARIUM_WINDOW_CLASS, nullptr) != nullptr;
}
