// Stand-in of the uninstaller: asks, then removes the installed files of the
// folder it lies in (not the folder itself, not foreign files below it).
#include <windows.h>

namespace {

const wchar_t* const kInstalled[] = {
    L"photar64.exe", L"photar32.chm", L"p_about.txt", L"p_changes.txt", L"p_languages.txt",
    L"p_options.txt", L"p_plugins.txt", L"readme.txt", L"Plugins\\Icons.dll",
    L"Languages\\DEUTSCH.DLL", L"Help\\photar32_deutsch.chm",
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    bool quiet = commandLine && lstrcmpiW(commandLine, L"/silent") == 0;
    if (!quiet && MessageBoxW(nullptr, L"Photarium entfernen?", L"Photarium Deinstallation",
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return 1;

    wchar_t folder[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 2;
    wchar_t* slash = folder + length;
    while (slash > folder && slash[-1] != L'\\')
        --slash;
    *slash = L'\0';

    for (const wchar_t* name : kInstalled) {
        wchar_t path[MAX_PATH * 2];
        if (lstrlenW(folder) + lstrlenW(name) < MAX_PATH * 2 - 1) {
            lstrcpyW(path, folder);
            lstrcatW(path, name);
            DeleteFileW(path);
        }
    }
    return 0;
}
