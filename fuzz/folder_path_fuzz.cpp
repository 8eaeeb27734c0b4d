// The text side of MakeFolderPath: any path, with a file system that has
// some folders and creates what it is asked to.
#include "fuzz_input.h"
#include "platform/folder_path.h"

#include <set>
#include <string>

namespace {
class FakeFolders : public FolderSystem {
public:
    std::set<std::wstring> folders{L"C:\\", L"C:\\Program Files\\"};
    bool CanEnter(const wchar_t* path) override { return folders.count(path) > 0; }
    void CreateOne(const wchar_t* path) override
    {
        std::wstring p = path;
        if (!p.empty() && p.size() < 300)
            folders.insert(p + L"\\");
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WideInput input(data, size, 260);
    PathText path(input.get());
    FakeFolders fs;
    int result = MakeFolderPath(path, fs);
    size_t len = TerminatedLength(path.Get(), 260);
    if (result != 0 && result != 1)
        __builtin_trap();
    if (result == 1 && (len == 0 || (len < 259 && path.Get()[len - 1] != L'\\')))
        __builtin_trap();
    return 0;
}
