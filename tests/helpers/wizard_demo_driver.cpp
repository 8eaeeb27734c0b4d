// Walks through the wizard for the demo and saves a picture of the screen
// (<folder>\<name>.bmp) on each page.
//   wizard_demo_driver <folder>
#include "screen_capture.h"
#include "wizard_ui.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring g_folder = L".";

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
