#include "app/startup.h"

#include "app/command_line.h"
#include "app/install_request.h"
#include "install/folder_path.h"
#include "install/install_log.h"
#include "install/run_install.h"
#include "platform/reg_key.h"
#include "platform/string_table.h"
#include "platform/text_format.h"
#include "resources/product_identity.h"
#include "resources/resource.h"

#include <cstdlib>
#include <cwchar>

void HardenDllSearchPath()
{
    wchar_t path[MAX_PATH + 1] = L"";
    UINT len = GetSystemDirectoryW(path, MAX_PATH);
    if (len == 0 || len >= MAX_PATH - 14)
        return;
    if (path[len - 1] != L'\\')
        wcscat(path, L"\\");
    wcscat(path, L"kernel32.dll");
    HMODULE kernel = GetModuleHandleW(path);
    if (kernel == nullptr)
        return;
    using SetDirsFn = BOOL(WINAPI*)(DWORD);
    auto setDirs = reinterpret_cast<SetDirsFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirs != nullptr)
        setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool IsOsVersionAtLeast(WORD major, WORD minor)
{
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.wServicePackMajor = 0;
    DWORDLONG mask = 0;
    mask = VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&info, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR,
                              mask) != FALSE;
}

bool FindPreviousInstallFolder(wchar_t* folder)
{
    folder[0] = L'\0';
    RegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium\\shell\\open\\command",
                  KEY_QUERY_VALUE))
        return false;
    wchar_t stored[130];  // 260 bytes
    bool read = key.ReadString(L"", stored, sizeof(stored));
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

    wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    _wsplitpath(path, drive, dir, name, ext);
    size_t folderLen = 0;
    if (FormatText(folder, 260, L"%ls%ls", drive, dir))
        folderLen = wcslen(folder);
    if (folderLen > 0 && folderLen < 259 && folder[folderLen - 1] != L'\\')
        wcscat(folder, L"\\");
    // a folder that is not absolute, or no folder at all, is no installation to follow
    if (!IsFolderBelowRoot(folder)) {
        folder[0] = L'\0';
        return false;
    }
    return true;
}

void DefaultInstallFolder(wchar_t* folder)
{
    wcscpy(folder, L"C:\\Photarium\\");
    RegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                  KEY_QUERY_VALUE))
        return;
    wchar_t programFiles[132];  // the value is read into 260 bytes; room for one more backslash
    bool read = key.ReadString(L"ProgramFilesDir", programFiles, 260);
    key.Close();
    if (!read)
        return;
    size_t len = wcslen(programFiles);
    if (len == 0 || programFiles[len - 1] != L'\\')
        wcscat(programFiles, L"\\");
    FormatText(folder, 260, L"%lsPhotarium", programFiles);
}

bool IsViewerRunning()
{
    return FindWindowW(PHOTARIUM_WINDOW_CLASS, nullptr) != nullptr;
}

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
    ApplySilentSwitches(commandLine, request);
    request.silent = 1;
    return RunInstall(request) == 1 ? kExitInstalled : kExitInstallFailed;
}
