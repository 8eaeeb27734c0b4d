#include "platform/library_search.h"

#include "platform/text_format.h"

void HardenDllSearchPath()
{
    wchar_t path[MAX_PATH + 1] = L"";
    UINT len = GetSystemDirectoryW(path, MAX_PATH);
    if (len == 0 || len >= MAX_PATH - 14)
        return;
    AppendBackslash(path, MAX_PATH + 1);
    AppendText(path, MAX_PATH + 1, L"kernel32.dll");
    HMODULE kernel = GetModuleHandleW(path);
    if (kernel == nullptr)
        return;
    using SetDirsFn = BOOL(WINAPI*)(DWORD);
    auto setDirs = reinterpret_cast<SetDirsFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirs != nullptr)
        setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
