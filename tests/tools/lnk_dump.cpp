// Prints the fields of shortcut files, one block a file:
//   lnk_dump.exe FILE.lnk...
// used by the demo to show what an installation made.
#include "shortcut_util.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// UTF-8 on stdout, whatever Wine's console code page is
void Print(const std::wstring& text)
{
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        ShortcutFields fields;
        Print(std::wstring(argv[i]) + L"\n");
        if (!ReadShortcut(argv[i], &fields)) {
            Print(L"  (cannot be loaded)\n");
            failed = 1;
            continue;
        }
        Print(L"  target:      " + fields.target + L"\n");
        Print(L"  arguments:   " + fields.arguments + L"\n");
        Print(L"  icon:        " + fields.iconFile +
              (fields.iconFile.empty() ? L"" : L"," + std::to_wstring(fields.iconIndex)) + L"\n");
        Print(L"  description: " + fields.description + L"\n");
    }
    return failed;
}
