// Registered as the web-address handler of a test prefix: appends its
// command line (UTF-8, one line) to C:\ptest\opened_urls.txt.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    CreateDirectoryW(L"C:\\ptest", nullptr);
    const wchar_t* line = GetCommandLineW();
    char bytes[4096];
    int length = WideCharToMultiByte(CP_UTF8, 0, line, -1, bytes, sizeof(bytes) - 2, nullptr, nullptr);
    if (length <= 0)
        return 1;
    bytes[length - 1] = '\n';
    HANDLE file = CreateFileW(L"C:\\ptest\\opened_urls.txt", FILE_APPEND_DATA, FILE_SHARE_READ,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
    return 0;
}
