// Walks through the wizard for the demo and saves a picture of the screen
// (<folder>\<name>.bmp) on each page.
//   wizard_demo_driver <folder>
#include "wizard_ui.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring g_folder = L".";

// The screen as a 24-bit bottom-up BMP file.
bool SaveScreen(const std::wstring& path)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(out, &file, sizeof(file), &written, nullptr);
    WriteFile(out, &info, sizeof(info), &written, nullptr);
    WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    return true;
}

void Shot(const char* name)
{
    Sleep(700);  // let the page paint
    std::wstring path = g_folder + L"\\" + std::wstring(name, name + strlen(name)) + L".bmp";
    std::printf("%s %s\n", SaveScreen(path) ? "saved" : "failed:", name);
    std::fflush(stdout);
}

bool Fail(const char* what)
{
    std::printf("failed: %s\n", what);
    std::fflush(stdout);
    return false;
}

bool Walk(WizardProcess& wizard)
{
    HWND sheet = wizard.Sheet();
    if (sheet == nullptr || !WaitForPage(sheet, 0))
        return Fail("no wizard");
    Shot("1-options");

    Click(GetDlgItem(sheet, IDCANCEL));
    HWND box = WaitForMessageBox(wizard.Id());
    if (box == nullptr)
        return Fail("no question");
    Shot("2-cancel-question");
    AnswerMessageBox(box, IDNO);

    const char* names[] = {"3-whats-new", "4-file-types", "5-ready", "6-finish"};
    for (int page = 1; page <= 4; ++page) {
        PressNext(sheet);
        if (!WaitForPage(sheet, page))
            return Fail(names[page - 1]);
        if (page == 2) {
            Click(PageItem(sheet, 1091));  // "Nur Bilder"
            Sleep(200);
        }
        Shot(names[page - 1]);
    }
    // nothing to start in the demo
    Click(PageItem(sheet, 1022));
    Click(PageItem(sheet, 1020));
    Sleep(200);
    Click(GetDlgItem(sheet, IDCANCEL));
    return wizard.WaitForExit(10000) || Fail("wizard did not close");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1)
        g_folder = argv[1];
    WizardProcess wizard;
    if (!wizard.Start())
        return Fail("cannot start the setup program"), 1;
    return Walk(wizard) ? 0 : 1;
}
