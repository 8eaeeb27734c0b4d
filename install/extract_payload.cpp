#include "install/extract_payload.h"

#include "install/handle_file_io.h"
#include "install/unzip_internal.h"
#include "platform/text_format.h"
#include "resources/resource.h"

#include <windows.h>

const wchar_t kTempArchiveName[] = L"phtarg_x64.zip";

namespace {

constexpr int kTempPathUnits = 520;

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    void Close()
    {
        if (IsValid())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

bool FormTempArchivePath(wchar_t* path)
{
    wchar_t folder[kTempPathUnits];
    DWORD length = GetTempPathW(kTempPathUnits, folder);
    if (length == 0 || length >= kTempPathUnits)
        return false;
    const wchar_t* separator = folder[length - 1] == L'\\' ? L"" : L"\\";
    return FormatText(path, kTempPathUnits, L"%ls%ls%ls", folder, separator, kTempArchiveName);
}

}  // namespace

int ExtractPayload(const wchar_t* targetFolder, int keepFlag)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_PAYLOAD), L"ZIP");
    if (!resource)
        return -1;
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded)
        return -1;
    const void* bytes = LockResource(loaded);
    DWORD size = SizeofResource(module, resource);
    if (!bytes || size == 0)
        return -1;

    wchar_t archivePath[kTempPathUnits];
    if (!FormTempArchivePath(archivePath))
        return -1;

    // A file or link left under this name goes first (a link itself, not what
    // it points to); the new file is ours alone: others may read it, but not
    // write, replace or delete it until the extraction is done with it.
    DeleteFileW(archivePath);
    ScopedHandle file(CreateFileW(archivePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return -1;
    DWORD written = 0;
    // a short write shows as an archive that does not open
    WriteFile(file.Get(), bytes, size, &written, nullptr);

    zlib_filefunc64_def functions;
    FillHandleFileFunctions(&functions, file.Get());
    int result = UnzipWithFunctions(&functions, archivePath, targetFolder, keepFlag);

    file.Close();
    DeleteFileW(archivePath);
    return result;
}
