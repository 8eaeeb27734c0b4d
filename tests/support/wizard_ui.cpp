#include "wizard_ui.h"

#include "framework/gdi.h"

#include "messages.h"
#include "wine_test_util.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

const wchar_t kSheetTitle[] = L"Photarium 64-bit Setup";

struct FindContext {
    DWORD processId;
    bool wantSheet;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM lParam)
{
    auto* context = reinterpret_cast<FindContext*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != context->processId || !IsWindowVisible(window))
        return TRUE;
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (wcscmp(className, L"#32770") != 0)
        return TRUE;
    // the sheet holds pages and the tab control; a message box does not
    bool isSheet = FindWindowExW(window, nullptr, L"SysTabControl32", nullptr) != nullptr;
    if (isSheet == context->wantSheet) {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD processId, bool wantSheet)
{
    FindContext context = {processId, wantSheet, nullptr};
    EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

}  // namespace

WizardProcess::~WizardProcess()
{
    if (process_ != nullptr) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

bool WizardProcess::Start(const std::wstring& arguments, const std::wstring& exePath)
{
    std::wstring commandLine = L"\"" + (exePath.empty() ? SetupExePath() : exePath) + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

HWND WizardProcess::Sheet(DWORD timeoutMs)
{
    if (sheet_ != nullptr && IsWindow(sheet_))
        return sheet_;
    WaitUntil([&] { return (sheet_ = FindProcessWindow(id_, true)) != nullptr; }, timeoutMs);
    return sheet_;
}

bool WizardProcess::WaitForExit(DWORD timeoutMs)
{
    return process_ != nullptr && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool WizardProcess::IsRunning() const
{
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::wstring WindowText(HWND window)
{
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 2, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return std::wstring(text.data());
}

HWND ActivePage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

int ActiveIndex(HWND sheet)
{
    HWND page = ActivePage(sheet);
    if (page == nullptr)
        return -1;
    return static_cast<int>(SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
}

bool WaitForPage(HWND sheet, int index, DWORD timeoutMs)
{
    bool reached = WaitUntil([&] { return ActiveIndex(sheet) == index; }, timeoutMs);
    // the sheet answers only once the page's activation has run
    SendMessageW(sheet, WM_NULL, 0, 0);
    return reached;
}

HWND PageItem(HWND sheet, int id) { return GetDlgItem(ActivePage(sheet), id); }

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void PressNext(HWND sheet) { PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0); }

void PressBack(HWND sheet) { PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_BACK, 0); }

void SetText(HWND window, const std::wstring& text)
{
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs)
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindProcessWindow(processId, false)) != nullptr; }, timeoutMs);
    return box;
}

std::wstring MessageBoxText(HWND box)
{
    for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child != nullptr;
         child = FindWindowExW(box, child, L"Static", nullptr)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        std::wstring text = WindowText(child);
        if (!text.empty())
            return text;
    }
    return L"";
}

bool AnswerMessageBox(HWND box, int buttonId)
{
    HWND button = GetDlgItem(box, buttonId);
    if (button == nullptr)
        return false;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    // the box is hidden at once; it is destroyed when its modal loop next wakes
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kLongWait);
}

::testing::AssertionResult IsProgramBox(HWND box, const std::wstring& text, BoxButtons buttons)
{
    if (box == nullptr)
        return ::testing::AssertionFailure() << "no message box";
    bool yesNo = buttons == BoxButtons::kYesNo;
    std::wstring shown = MessageBoxText(box), caption = WindowText(box);
    if (shown != text || caption != kCaption || HasButton(box, IDOK) == yesNo ||
        HasButton(box, IDYES) != yesNo || HasButton(box, IDNO) != yesNo ||
        (yesNo && DefaultButton(box) != IDNO))
        return ::testing::AssertionFailure()
               << "box " << ::testing::PrintToString(shown) << " captioned "
               << ::testing::PrintToString(caption) << ", buttons OK " << HasButton(box, IDOK)
               << " Yes " << HasButton(box, IDYES) << " No " << HasButton(box, IDNO)
               << ", default " << DefaultButton(box);
    return ::testing::AssertionSuccess();
}

int DefaultButton(HWND box)
{
    for (HWND child = FindWindowExW(box, nullptr, L"Button", nullptr); child != nullptr;
         child = FindWindowExW(box, child, L"Button", nullptr)) {
        if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return GetDlgCtrlID(child);
    }
    return 0;
}

bool HasButton(HWND box, int buttonId) { return GetDlgItem(box, buttonId) != nullptr; }

int ListItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ListItemText(HANDLE process, HWND list, int item, int subItem)
{
    // LVITEMW and its text buffer live in the other process
    const size_t units = 260;
    SIZE_T size = sizeof(LVITEMW) + units * sizeof(wchar_t);
    auto* remote = static_cast<BYTE*>(
        VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    if (remote == nullptr)
        return L"<no memory>";
    LVITEMW request = {};
    request.iSubItem = subItem;
    request.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    request.cchTextMax = units;
    WriteProcessMemory(process, remote, &request, sizeof(request), nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote));
    wchar_t text[units] = L"";
    ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof(text), nullptr);
    text[units - 1] = L'\0';
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

int ListStateImage(HWND list, int item)
{
    LRESULT state = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK);
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

std::wstring HelperPath(const wchar_t* exeName)
{
    const char* dir = std::getenv("PHOTARIUM_HELPER_DIR");
    std::wstring base = dir != nullptr ? UnixToWindowsPath(dir) + L"\\" : L"";
    return base + exeName;
}

const wchar_t kOpenedUrls[] = L"C:\\ptest\\opened_urls.txt";

std::wstring RecordOpenedUrls()
{
    DeleteFileW(kOpenedUrls);
    std::wstring recorder = HelperPath(L"url_recorder.exe");
    for (const wchar_t* scheme : {L"http", L"https", L"ms-settings"})
        SetRegText(HKEY_CLASSES_ROOT, std::wstring(scheme) + L"\\shell\\open\\command", L"",
                   L"\"" + recorder + L"\" \"%1\"");
    return recorder;
}

std::string WaitForOpenedUrls(size_t count)
{
    std::string opened;
    WaitUntil([&] {
        opened = ReadFileBytes(kOpenedUrls);
        return static_cast<size_t>(std::count(opened.begin(), opened.end(), '\n')) >= count;
    }, kLongWait);
    return opened;
}

namespace {

SIZE TextSize(HFONT font, const wchar_t* text, bool underline)
{
    SIZE size = {};
    LOGFONTW description = {};
    if (font == nullptr || GetObjectW(font, sizeof(description), &description) == 0)
        return size;
    description.lfUnderline = underline;
    CFont underlined;
    underlined.Attach(CreateFontIndirectW(&description));
    ScopedGetDC screen(nullptr);
    ScopedSelectObject selected(screen, underlined);
    GetTextExtentPoint32W(screen, text, static_cast<int>(wcslen(text)), &size);
    return size;
}

}  // namespace

SIZE UnderlinedTextSize(HFONT font, const wchar_t* text) { return TextSize(font, text, true); }

SIZE DialogTextSize(int templateId, int id, const wchar_t* text, bool underlined)
{
    HMODULE setup = LoadLibraryExW(SetupExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HWND owner = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateDialogParamW(setup, MAKEINTRESOURCEW(templateId), owner,
                                   [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    HFONT own = reinterpret_cast<HFONT>(SendDlgItemMessageW(page, id, WM_GETFONT, 0, 0));
    SIZE size = TextSize(own, text, underlined);
    DestroyWindow(owner);
    FreeLibrary(setup);
    return size;
}

void PressKey(BYTE key)
{
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

HWND FocusOf(HWND sheet)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(sheet, nullptr), &info);
    return info.hwndFocus;
}

bool TabTo(HWND sheet, HWND target, int* before)
{
    for (int press = 0; press < 12 && FocusOf(sheet) != target; ++press) {
        HWND from = FocusOf(sheet);
        if (before != nullptr)
            *before = GetDlgCtrlID(from);
        PressKey(VK_TAB);
        WaitUntil([&] { return FocusOf(sheet) != from; }, kLongWait);
    }
    return FocusOf(sheet) == target;
}
