// The installation benchmark's floor: copies an unpacked product into a
// folder and does nothing else (no archive, no times, no registry), so that
// its time is what Wine takes to write these files, which no unpacker beats.
//
//   copy_floor.exe SOURCE TARGET      exit code 0 when every file was copied
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

// One read and one write a file, as an unpacker holding the whole entry does.
bool CopyOne(const std::wstring& from, const std::wstring& to, std::vector<char>& buffer)
{
    Handle in(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (in.h == INVALID_HANDLE_VALUE || !GetFileSizeEx(in.h, &size) || size.HighPart != 0)
        return false;
    DWORD length = size.LowPart, done = 0;
    if (buffer.size() < length)
        buffer.resize(length);
    if (length && (!ReadFile(in.h, buffer.data(), length, &done, nullptr) || done != length))
        return false;
    Handle out(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out.h == INVALID_HANDLE_VALUE)
        return false;
    return !length || (WriteFile(out.h, buffer.data(), length, &done, nullptr) && done == length);
}

bool CopyTree(const std::wstring& from, const std::wstring& to, std::vector<char>& buffer)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CreateDirectoryW((to + L"\\" + name).c_str(), nullptr) &&
                 CopyTree(from + L"\\" + name, to + L"\\" + name, buffer);
        else
            ok = CopyOne(from + L"\\" + name, to + L"\\" + name, buffer);
    } while (ok && FindNextFileW(search, &found));
    FindClose(search);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    std::vector<char> buffer;
    CreateDirectoryW(argv[2], nullptr);
    return CopyTree(argv[1], argv[2], buffer) ? 0 : 1;
}
