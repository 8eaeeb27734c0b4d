#pragma once
// Helpers for tests that run under Wine: starting the setup program with an
// exact command line, reading files and registry values, scratch folders.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// A Unix path as the test prefix names it: below the build folder on drive
// X:, elsewhere through Wine's \\?\unix\ form.
std::wstring UnixToWindowsPath(const std::string& unixPath);

// Set under .ci/run (PHOTARIUM_REQUIRE_ALL_CHECKS=1), where every check has
// what it needs: SKIP_CHECK then fails the test instead of skipping it.
bool AllChecksRequired();
#define SKIP_CHECK(why)                                                                      \
    do {                                                                                   \
        if (AllChecksRequired())                                                           \
            FAIL() << "PHOTARIUM_REQUIRE_ALL_CHECKS=1 and this check cannot run: " << why; \
        GTEST_SKIP() << why;                                                               \
    } while (0)

// The setup program under test (from PHOTARIUM_SETUP_EXE).
std::wstring SetupExePath();

// A file or folder below the build's test data (PHOTARIUM_TEST_DATA), relative
// with "/" as separator.
std::wstring TestDataPath(const std::string& relative);

// Starts the setup program with "path" + " " + arguments as its exact command
// line, in workDir (or the current folder), and waits. Returns its exit code,
// or -1 when it could not be started or did not end within timeoutMs.
int RunSetup(const std::wstring& arguments, const std::wstring& workDir = L"",
             DWORD timeoutMs = 120000);

// The same for any program: commandLine is passed as it is.
int RunProgram(const std::wstring& commandLine, const std::wstring& workDir = L"",
               DWORD timeoutMs = 120000);

// Starts it on desktop ("station\\desktop") when given: its process handle, or null. WaitForProgram
// waits (killing it after timeoutMs), closes the handle and returns the exit code, or -1.
HANDLE StartProgram(const std::wstring& commandLine, const std::wstring& workDir = L"",
                    const wchar_t* desktop = nullptr);
int WaitForProgram(HANDLE process, DWORD timeoutMs = 120000);

// True while a process of that file name (e.g. L"photar64.exe") runs.
bool IsProgramRunning(const wchar_t* exeName);

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Removes a file or a folder with all it holds; a missing one is fine.
void RemoveTree(const std::wstring& path);
// A new empty folder C:\ptest\<name>\ (ending in a backslash).
std::wstring FreshFolder(const std::wstring& name);
// Names of the entries of a folder, sorted, without "." and "..".
std::vector<std::wstring> ListFolder(const std::wstring& folder);
// Every file below folder (ending in "\") by its relative path: its bytes,
// with times followed by its attributes and its creation and last-write times.
std::map<std::wstring, std::string> FilesBelow(const std::wstring& folder, bool withTimes = false);

// A Unix symbolic link at link pointing to target (made with ln -s), or with
// an empty target the link removed (rm): under Wine a link shows as its
// target to every Windows call, and DeleteFileW on it deletes the target.
// Waits until the change shows (the link leads to the target's own file or
// folder, or the name is gone); false when it does not.
// Without replace a name that exists stays as it is.
bool SetUnixLink(const std::wstring& link, const std::wstring& target, bool replace = true);

// Registry: a value's type and raw bytes; false when missing.
bool ReadRegValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD* type,
                  std::vector<BYTE>* data);
// A REG_SZ value as text, or "<missing>" when it cannot be read.
std::wstring ReadRegText(HKEY root, const std::wstring& key, const std::wstring& name = L"");
bool RegKeyExists(HKEY root, const std::wstring& key);
void DeleteRegTree(HKEY root, const std::wstring& key);
void SetRegText(HKEY root, const std::wstring& key, const std::wstring& name,
                const std::wstring& value);

// Switches the prefix's reported Windows version ("win7", "win8", "win10").
void SetWineWindowsVersion(const wchar_t* version);

// The entries of the install log in folder, each without its "date - time: "
// prefix and separator line; a damaged entry is returned marked as such.
std::vector<std::string> InstallLogTexts(const std::wstring& folder);

// The bytes of text as the install log writes them (Latin-1, CR LF).
std::string Latin1(const std::wstring& text);

// A top-level window of the viewer's class "Photarium" for as long as it lives.
class FakeViewerWindow {
public:
    FakeViewerWindow();
    ~FakeViewerWindow();
    FakeViewerWindow(const FakeViewerWindow&) = delete;
    FakeViewerWindow& operator=(const FakeViewerWindow&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_ = nullptr;
};
