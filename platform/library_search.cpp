#include "platform/library_search.h"

#include "platform/fixed_text.h"

#include <delayimp.h>

namespace {

using SystemPath = FixedText<MAX_PATH + 1>;

// The system folder's path of a library name; false when it does not fit.
bool SystemLibraryPath(const wchar_t* name, SystemPath& path)
{
    UINT length = GetSystemDirectoryW(path.Buffer(), MAX_PATH);
    return length > 0 && length < MAX_PATH && path.AppendBackslash() && path.Append(name);
}

// Without the loader update the delay-load helper would take a library by
// its bare name, from beside the program first: it gets the system folder's
// instead. The common controls stay by name, as the manifest's side-by-side
// assembly (version 6) is found only so.
FARPROC WINAPI LoadDelayedFromSystemFolder(unsigned notification, PDelayLoadInfo info)
{
    if (notification != dliNotePreLoadLibrary || info == nullptr || info->szDll == nullptr ||
        lstrcmpiA(info->szDll, "comctl32.dll") == 0)
        return nullptr;
    wchar_t name[64];
    size_t i = 0;
    for (; info->szDll[i] != '\0' && i + 1 < sizeof(name) / sizeof(name[0]); ++i)
        name[i] = static_cast<unsigned char>(info->szDll[i]);
    name[i] = L'\0';
    SystemPath path;
    if (info->szDll[i] != '\0' || !SystemLibraryPath(name, path))
        return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(LoadLibraryW(path)));
}

}  // namespace

void HardenDllSearchPath()
{
    SystemPath path;
    if (!SystemLibraryPath(L"kernel32.dll", path))
        return;
    HMODULE kernel = GetModuleHandleW(path);
    if (kernel == nullptr)
        return;
    using SetDirsFn = BOOL(WINAPI*)(DWORD);
    auto setDirs = LibraryFunction<SetDirsFn>(kernel, "SetDefaultDllDirectories");
    if (setDirs != nullptr && setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // what Windows 7 without the loader update has
    SetDllDirectoryW(L"");
    __pfnDliNotifyHook2 = LoadDelayedFromSystemFolder;
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // a system without the loader update does not know the flag
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    SystemPath path;
    return SystemLibraryPath(name, path) ? LoadLibraryW(path) : nullptr;
}
