#include "wine_test_util.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

std::wstring UnixToWindowsPath(const std::string& unixPath)
{
    // the harness maps the build folder as X: and gives the prefix no Z:
    const char* buildRoot = std::getenv("PHOTARIUM_BUILD_ROOT");
    std::string root = buildRoot != nullptr ? buildRoot : "";
    std::string rest = unixPath;
    std::wstring out = L"\\\\?\\unix";
    if (!root.empty() && unixPath.compare(0, root.size(), root) == 0 &&
        (unixPath.size() == root.size() || unixPath[root.size()] == '/')) {
        out = L"X:";
        rest = unixPath.substr(root.size());
    }
    for (char c : rest)
        out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

bool AllChecksRequired()
{
    const char* required = std::getenv("PHOTARIUM_REQUIRE_ALL_CHECKS");
    return required != nullptr && std::string(required) == "1";
}

std::wstring SetupExePath()
{
    const char* path = std::getenv("PHOTARIUM_SETUP_EXE");
    return path != nullptr ? UnixToWindowsPath(path) : L"photar64_setup.exe";
}

std::wstring TestDataPath(const std::string& relative)
{
    const char* data = std::getenv("PHOTARIUM_TEST_DATA");
    return UnixToWindowsPath(std::string(data ? data : ".") + "/" + relative);
}

HANDLE StartProgram(const std::wstring& commandLine, const std::wstring& workDir,
                    const wchar_t* desktop)
{
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<wchar_t*>(desktop);  // only read
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

int WaitForProgram(HANDLE process, DWORD timeoutMs)
{
    if (process == nullptr)
        return -1;
    DWORD waited = WaitForSingleObject(process, timeoutMs);
    DWORD code = static_cast<DWORD>(-1);
    if (waited == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    else
        TerminateProcess(process, 99);
    CloseHandle(process);
    return waited == WAIT_OBJECT_0 ? static_cast<int>(code) : -1;
}

int RunProgram(const std::wstring& commandLine, const std::wstring& workDir, DWORD timeoutMs)
{
    return WaitForProgram(StartProgram(commandLine, workDir), timeoutMs);
}

int RunSetup(const std::wstring& arguments, const std::wstring& workDir, DWORD timeoutMs)
{
    return RunProgram(L"\"" + SetupExePath() + L"\" " + arguments, workDir, timeoutMs);
}

bool IsProgramRunning(const wchar_t* exeName)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, exeName) == 0;
    CloseHandle(snapshot);
    return found;
}

namespace {
// Both names open the same file or folder (its volume and index).
bool SameFile(const std::wstring& a, const std::wstring& b)
{
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileW((i ? b : a).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        bool read = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info[i]);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        if (!read)
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}
}  // namespace

bool SetUnixLink(const std::wstring& link, const std::wstring& target, bool replace)
{
    using UnixName = char* (*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixName == nullptr)
        return false;
    std::string line = target.empty() ? " -f " : replace ? " -sfn " : " -sn ";
    if (!target.empty())
        line += std::string(unixName(target.c_str())) + " ";
    line += unixName(link.c_str());
    // Wine starts a Unix program without waiting for it; the prefix has no
    // drive for the host's root, so the program goes by Wine's Unix form
    RunProgram(UnixToWindowsPath(target.empty() ? "/bin/rm" : "/bin/ln") +
               std::wstring(line.begin(), line.end()));
    auto exists = [&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; };
    // a name replaced exists all along: the change shows when it leads to the target itself
    auto shows = [&] { return target.empty() ? !exists() : replace ? SameFile(link, target) : exists(); };
    for (int i = 0; i < 300 && !shows(); ++i)
        Sleep(100);
    return shows();
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool FileExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> ListFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\')
        pattern += L'\\';
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((pattern + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

void CollectFiles(const std::wstring& folder, const std::wstring& relative, bool withTimes,
                  std::map<std::wstring, std::string>* files)
{
    for (const std::wstring& name : ListFolder(folder + relative)) {
        std::wstring path = relative + name;
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExW((folder + path).c_str(), GetFileExInfoStandard, &data);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CollectFiles(folder, path + L"\\", withTimes, files);
            continue;
        }
        std::string& entry = (*files)[path] = ReadFileBytes(folder + path);
        if (withTimes)
            for (unsigned long long value :
                 {static_cast<unsigned long long>(data.dwFileAttributes),
                  (static_cast<unsigned long long>(data.ftCreationTime.dwHighDateTime) << 32) |
                      data.ftCreationTime.dwLowDateTime,
                  (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime})
                entry += " " + std::to_string(value);
    }
}

}  // namespace

std::map<std::wstring, std::string> FilesBelow(const std::wstring& folder, bool withTimes)
{
    std::map<std::wstring, std::string> files;
    CollectFiles(folder, L"", withTimes, &files);
    return files;
}

void RemoveTree(const std::wstring& path)
{
    std::wstring plain = path;
    while (plain.size() > 3 && plain.back() == L'\\')
        plain.pop_back();
    DWORD attributes = GetFileAttributesW(plain.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : ListFolder(plain))
            RemoveTree(plain + L"\\" + name);
        SetFileAttributesW(plain.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(plain.c_str());
    } else {
        SetFileAttributesW(plain.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(plain.c_str());
    }
}

std::wstring FreshFolder(const std::wstring& name)
{
    CreateDirectoryW(L"C:\\ptest", nullptr);
    std::wstring folder = L"C:\\ptest\\" + name;
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

bool ReadRegValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD* type,
                  std::vector<BYTE>* data)
{
    HKEY handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(handle, name.c_str(), nullptr, type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        data->resize(size);
        rc = RegQueryValueExW(handle, name.c_str(), nullptr, type, data->data(), &size);
        data->resize(size);
    }
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

std::wstring ReadRegText(HKEY root, const std::wstring& key, const std::wstring& name)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRegValue(root, key, name, &type, &data) || type != REG_SZ)
        return L"<missing>";
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

bool RegKeyExists(HKEY root, const std::wstring& key)
{
    HKEY handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

void DeleteRegTree(HKEY root, const std::wstring& key)
{
    HKEY handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
        return;
    wchar_t child[256];
    while (RegEnumKeyW(handle, 0, child, 256) == ERROR_SUCCESS)
        DeleteRegTree(root, key + L"\\" + child);
    RegCloseKey(handle);
    RegDeleteKeyW(root, key.c_str());
}

void SetRegText(HKEY root, const std::wstring& key, const std::wstring& name,
                const std::wstring& value)
{
    HKEY handle;
    if (RegCreateKeyW(root, key.c_str(), &handle) != ERROR_SUCCESS)
        return;
    RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

void SetWineWindowsVersion(const wchar_t* version)
{
    SetRegText(HKEY_CURRENT_USER, L"Software\\Wine", L"Version", version);
}

std::string Latin1(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\n')
            out += "\r\n";
        else
            out += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return out;
}

std::vector<std::string> InstallLogTexts(const std::wstring& folder)
{
    const std::string separator = "------------------------------------------------\r\n";
    std::string bytes = ReadFileBytes(folder + L"Photarium_Install.log");
    std::vector<std::string> texts;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find(separator, pos);
        if (end == std::string::npos) {
            texts.push_back("<no separator>" + bytes.substr(pos));
            break;
        }
        std::string entry = bytes.substr(pos, end - pos);
        size_t dash = entry.find(" - ");
        // "hh:mm:ss: " follows the date
        texts.push_back(dash == std::string::npos ? "<no date>" + entry : entry.substr(dash + 13));
        pos = end + separator.size();
    }
    return texts;
}

namespace {
LRESULT CALLBACK FakeViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

FakeViewerWindow::FakeViewerWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FakeViewerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Photarium";
    RegisterClassW(&windowClass);
    window_ = CreateWindowW(L"Photarium", L"Photarium", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

FakeViewerWindow::~FakeViewerWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
}
