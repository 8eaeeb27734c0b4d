#include "platform/library_search.h"

#include "platform/fixed_text.h"

namespace {

const wchar_t kKernelName[] = L"kernel32.dll";
// what the system folder must leave room for: a backslash, the name and its terminator
constexpr UINT kKernelNameRoom = sizeof(kKernelName) / sizeof(wchar_t) + 1;

}  // namespace

void HardenDllSearchPath()
{
    FixedText<MAX_PATH + 1> path;
    UINT len = GetSystemDirectoryW(path.Buffer(), MAX_PATH);
    if (len == 0 || len >= MAX_PATH - kKernelNameRoom)
        return;
    path.AppendBackslash();
    path.Append(kKernelName);
    HMODULE kernel = GetModuleHandleW(path);
    if (kernel == nullptr)
        return;
    using SetDirsFn = BOOL(WINAPI*)(DWORD);
    auto setDirs = reinterpret_cast<SetDirsFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirs != nullptr)
        setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
