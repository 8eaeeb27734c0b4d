#include "platform/shell_api.h"

#include "platform/text_format.h"

namespace {

// The library from the system folder, loaded once and kept for the process.
HMODULE SystemLibrary(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    UINT len = GetSystemDirectoryW(path, MAX_PATH);
    if (len == 0 || len >= MAX_PATH)
        return nullptr;
    wchar_t full[MAX_PATH];
    if (!FormatText(full, MAX_PATH, path[len - 1] == L'\\' ? L"%ls%ls" : L"%ls\\%ls", path, name))
        return nullptr;
    return LoadLibraryW(full);
}

HMODULE Shell32()
{
    static HMODULE module = SystemLibrary(L"shell32.dll");
    return module;
}

HMODULE Ole32()
{
    static HMODULE module = SystemLibrary(L"ole32.dll");
    return module;
}

template <class Fn>
Fn Find(HMODULE module, const char* name)
{
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

HRESULT ShellGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list)
{
    using Fn = HRESULT(WINAPI*)(HWND, int, PIDLIST_ABSOLUTE*);
    static Fn fn = Find<Fn>(Shell32(), "SHGetSpecialFolderLocation");
    *list = nullptr;
    return fn != nullptr ? fn(owner, folder, list) : E_FAIL;
}

BOOL ShellGetPathFromIDList(PCIDLIST_ABSOLUTE list, wchar_t* path)
{
    using Fn = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);
    static Fn fn = Find<Fn>(Shell32(), "SHGetPathFromIDListW");
    return fn != nullptr ? fn(list, path) : FALSE;
}

void ShellChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2)
{
    using Fn = void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID);
    static Fn fn = Find<Fn>(Shell32(), "SHChangeNotify");
    if (fn != nullptr)
        fn(eventId, flags, item1, item2);
}

HRESULT ComInitialize()
{
    using Fn = HRESULT(WINAPI*)(LPVOID);
    static Fn fn = Find<Fn>(Ole32(), "CoInitialize");
    return fn != nullptr ? fn(nullptr) : E_FAIL;
}

void ComUninitialize()
{
    using Fn = void(WINAPI*)();
    static Fn fn = Find<Fn>(Ole32(), "CoUninitialize");
    if (fn != nullptr)
        fn();
}

HRESULT ComCreateInstance(REFCLSID classId, DWORD context, REFIID interfaceId, void** object)
{
    using Fn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    static Fn fn = Find<Fn>(Ole32(), "CoCreateInstance");
    *object = nullptr;
    return fn != nullptr ? fn(classId, nullptr, context, interfaceId, object) : E_FAIL;
}

void ComTaskMemFree(void* memory)
{
    using Fn = void(WINAPI*)(LPVOID);
    static Fn fn = Find<Fn>(Ole32(), "CoTaskMemFree");
    if (fn != nullptr)
        fn(memory);
}
