#include "install/icon_library.h"

#include "install/icon_version.h"
#include "platform/fixed_text.h"
#include "platform/library_search.h"
#include "platform/scoped_file.h"
#include "platform/scoped_library.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <new>

namespace {

constexpr UINT kCompanyUnits = kTextUnits;
// "major.minor" and the build number, three numbers of at most 5 digits
constexpr size_t kVersionTextUnits = 64;

// The version functions, loaded from the system folder on first use rather
// than imported, so the program starts without version.dll beside it being
// looked at. Frees the library when it goes.
class VersionLibrary {
public:
    VersionLibrary() : module_(LoadSystemLibrary(L"version.dll"))
    {
        HMODULE module = module_.Get();
        getSize_ = LibraryFunction<GetSizeFn>(module, "GetFileVersionInfoSizeW");
        getInfo_ = LibraryFunction<GetInfoFn>(module, "GetFileVersionInfoW");
        query_ = LibraryFunction<QueryFn>(module, "VerQueryValueW");
    }
    VersionLibrary(const VersionLibrary&) = delete;
    VersionLibrary& operator=(const VersionLibrary&) = delete;

    bool Loaded() const { return getSize_ && getInfo_ && query_; }
    DWORD GetSize(const wchar_t* path) const
    {
        DWORD ignored = 0;
        return getSize_(path, &ignored);
    }
    bool GetInfo(const wchar_t* path, DWORD bytes, void* block) const
    {
        return getInfo_(path, 0, bytes, block) != FALSE;
    }
    bool Query(const void* block, const wchar_t* key, void** value, UINT* length) const
    {
        return query_(block, key, value, length) != FALSE;
    }

private:
    using GetSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using GetInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

    ScopedLibrary module_;
    GetSizeFn getSize_ = nullptr;
    GetInfoFn getInfo_ = nullptr;
    QueryFn query_ = nullptr;
};

// Size by opening for reading and seeking to the end.
bool ReadFileSize(const wchar_t* path, long long* size)
{
    ScopedFile file(_wfopen(path, L"rb"));
    if (!file.IsValid())
        return false;
    bool ok = _fseeki64(file.Get(), 0, SEEK_END) == 0;
    *size = ok ? _ftelli64(file.Get()) : -1;
    return ok && *size >= 0;
}

// The failures that mean the file has no version to read: it is not there
// or is no program with a version block. Any other (held by another program,
// no rights to read it) leaves a version we cannot see.
bool HasNoVersion(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_RESOURCE_DATA_NOT_FOUND:
    case ERROR_RESOURCE_TYPE_NOT_FOUND:
    case ERROR_RESOURCE_NAME_NOT_FOUND:
    case ERROR_BAD_FORMAT:
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_INVALID_DATA:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool KeepInstalledIconLibrary(const wchar_t* path)
{
    // without the version functions we cannot tell, and the installed one may be newer
    VersionLibrary version;
    if (!version.Loaded())
        return true;

    DWORD bytes = version.GetSize(path);
    if (bytes == 0)
        return !HasNoVersion(GetLastError());
    // as many UTF-16 units as the block has bytes, zeroed
    std::unique_ptr<wchar_t[]> block(new (std::nothrow) wchar_t[bytes]());
    if (!block)
        return true;  // a version we cannot read for want of memory may be newer: keep it
    if (!version.GetInfo(path, bytes, block.get()))
        return true;  // it has a block we could not read (held, no rights)

    void* root = nullptr;
    UINT rootLength = 0;
    if (!version.Query(block.get(), L"\\", &root, &rootLength) || !root ||
        rootLength < sizeof(VS_FIXEDFILEINFO))
        return false;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(root);

    FixedText<kVersionTextUnits> versionText;
    versionText.Format(L"%d.%d%d", HIWORD(fixed->dwProductVersionMS),
               LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwFileVersionLS));

    wchar_t company[kCompanyUnits] = L"";
    void* value = nullptr;
    UINT length = 0;
    if (version.Query(block.get(), L"\\StringFileInfo\\040904E4\\CompanyName", &value, &length) &&
        value && length < kCompanyUnits) {
        // length counts units; the text may or may not carry its terminator
        const auto* text = static_cast<const wchar_t*>(value);
        UINT i = 0;
        for (; i < length && text[i] != L'\0'; ++i)
            company[i] = text[i];
        company[i] = L'\0';
    }

    bool keep = false;
    int installed = VersionTextNumber(versionText);
    int shipped = VersionTextNumber(kShippedIconVersion);
    if (installed > shipped) {
        keep = true;
    } else if (installed == shipped) {
        // the same version: only the shipped file itself is replaced
        long long size = 0;
        keep = !(ReadFileSize(path, &size) && size == kShippedIconLibrarySize);
    }
    if (!IsMakerCompany(company))
        keep = true;
    return keep;
}
