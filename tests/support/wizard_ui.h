#pragma once
// Driving the real wizard from another process: start it without waiting,
// find its sheet, pages, controls and message boxes, read list-view rows.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// How long a test waits for what should come: long enough for a machine
// under load, and no cost when it comes at once (every wait ends then).
constexpr DWORD kLongWait = 30000;

// The setup program started with CreateProcessW; ended on destruction when
// it still runs.
class WizardProcess {
public:
    WizardProcess() = default;
    ~WizardProcess();
    WizardProcess(const WizardProcess&) = delete;
    WizardProcess& operator=(const WizardProcess&) = delete;

    // Starts "setup" arguments (the setup program under test, or exePath);
    // false when it could not be started.
    bool Start(const std::wstring& arguments = L"", const std::wstring& exePath = L"");
    // The sheet window, waiting up to timeoutMs for it.
    HWND Sheet(DWORD timeoutMs = kLongWait);
    // True when the process ended within timeoutMs.
    bool WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    HWND sheet_ = nullptr;
};

// Text of any window through WM_GETTEXT (also for another process's edits).
std::wstring WindowText(HWND window);
// Index of the active page, or -1.
int ActiveIndex(HWND sheet);
HWND ActivePage(HWND sheet);
// Waits until page index is active and its set-up ran (Next reflects it).
bool WaitForPage(HWND sheet, int index, DWORD timeoutMs = kLongWait);
// A control of the active page.
HWND PageItem(HWND sheet, int id);
bool IsChecked(HWND button);
// Posts a click, so that a message box the click opens does not block us.
void Click(HWND button);
// Next or Back through PSM_PRESSBUTTON (posted).
void PressNext(HWND sheet);
void PressBack(HWND sheet);
void SetText(HWND window, const std::wstring& text);

// A message box of process id, waiting up to timeoutMs; nullptr when none.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs = kLongWait);
// The message box's text (its static that is neither the icon nor empty).
std::wstring MessageBoxText(HWND box);
// Presses the box's button id (IDOK, IDYES, IDNO) and waits for the box to go.
bool AnswerMessageBox(HWND box, int buttonId);
// The id of the box's default push button, or 0.
int DefaultButton(HWND box);
// True when a button id exists in the box.
bool HasButton(HWND box, int buttonId);
// The program's own box: text, the program's caption, and either OK alone
// or Yes and No with No as the default.
enum class BoxButtons { kOk, kYesNo };
::testing::AssertionResult IsProgramBox(HWND box, const std::wstring& text, BoxButtons buttons);

// List-view rows of another process (the item text is copied across).
int ListItemCount(HWND list);
std::wstring ListItemText(HANDLE process, HWND list, int item, int subItem);
// The state image index (1 cleared, 2 ticked).
int ListStateImage(HWND list, int item);

// Polls condition every 20 ms until it holds or timeoutMs pass. Messages of
// this thread's own windows (their timers) are dispatched meanwhile.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(20);
    }
}

// The extent of text in font (a font of this process), underlined, on the screen.
SIZE UnderlinedTextSize(HFONT font, const wchar_t* text);
// The extent of text in the font of control id of dialog template templateId,
// the dialog made here from the setup program's resources as the wizard makes
// it (a font handle of the wizard's process cannot be read from this one).
SIZE DialogTextSize(int templateId, int id, const wchar_t* text, bool underlined);

// A key pressed and let go, as the keyboard gives it to the active window.
void PressKey(BYTE key);
// The window with the keyboard focus on the sheet's thread.
HWND FocusOf(HWND sheet);
// Presses Tab until target has the focus (at most 12 times, each waiting for
// the focus to move); *before: the control's id before it.
bool TabTo(HWND sheet, HWND target, int* before = nullptr);

// Paths of the helper programs built beside the tests (PHOTARIUM_HELPER_DIR).
std::wstring HelperPath(const wchar_t* exeName);

// url_recorder.exe as the prefix's web and settings handler (http, https,
// ms-settings, the scheme of Windows' Settings app): the file it
// appends each command line to; a fresh start, returning its path; the lines
// written once there are count of them.
extern const wchar_t kOpenedUrls[];
std::wstring RecordOpenedUrls();
std::string WaitForOpenedUrls(size_t count);
