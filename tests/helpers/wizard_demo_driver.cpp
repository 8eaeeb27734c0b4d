// Walks through the wizard for the demo, installing into C:\Photarium with
// the picture formats, and saves a picture of the screen (<folder>\<name>.bmp)
// on each page and while the installation runs.
//   wizard_demo_driver <folder>
#include "dialog_ids.h"
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
    SetText(PageItem(sheet, kFolder), L"C:\\Photarium");
    Shot("1-options");

    Click(GetDlgItem(sheet, IDCANCEL));
    HWND box = WaitForMessageBox(wizard.Id());
    if (box == nullptr)
        return Fail("no question");
    Shot("2-cancel-question");
    AnswerMessageBox(box, IDNO);

    const char* names[] = {"3-whats-new", "4-file-types", "5-ready"};
    for (int page = 1; page <= 3; ++page) {
        PressNext(sheet);
        if (!WaitForPage(sheet, page))
            return Fail(names[page - 1]);
        if (page == 2) {
            Click(PageItem(sheet, 1091));  // "Nur Bilder"
            Sleep(200);
        }
        Shot(names[page - 1]);
    }

    // Next installs; with formats chosen it stops at the association question
    PressNext(sheet);
    box = WaitForMessageBox(wizard.Id(), 60000);
    if (box == nullptr)
        return Fail("no association question");
    // out of the way of the notice: the screen's lower right corner
    RECT boxRect = {};
    GetWindowRect(box, &boxRect);
    SetWindowPos(box, nullptr, GetSystemMetrics(SM_CXSCREEN) - (boxRect.right - boxRect.left),
                 GetSystemMetrics(SM_CYSCREEN) - (boxRect.bottom - boxRect.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(1600);  // the install timer retitles the sheet
    Shot("6-installing");
    AnswerMessageBox(box, IDYES);
    if (!WaitForPage(sheet, 4, 60000))
        return Fail("no finish page");
    Shot("7-finish");

    // nothing to start in the demo
    Click(PageItem(sheet, kShowFaq));
    Click(PageItem(sheet, kStartViewer));
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
