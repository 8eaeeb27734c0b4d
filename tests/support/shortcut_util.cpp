#include "shortcut_util.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

bool ReadShortcut(const std::wstring& path, ShortcutFields* fields)
{
    *fields = ShortcutFields();
    HRESULT init = CoInitialize(nullptr);
    bool ok = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkW, reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
                wchar_t text[1024];
                text[0] = L'\0';
                if (link->GetPath(text, 1024, nullptr, SLGP_RAWPATH) == S_OK)
                    fields->target = text;
                text[0] = L'\0';
                if (SUCCEEDED(link->GetArguments(text, 1024)))
                    fields->arguments = text;
                text[0] = L'\0';
                int index = 0;
                if (SUCCEEDED(link->GetIconLocation(text, 1024, &index))) {
                    fields->iconFile = text;
                    fields->iconIndex = index;
                }
                text[0] = L'\0';
                if (SUCCEEDED(link->GetDescription(text, 1024)))
                    fields->description = text;
                ok = true;
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return ok;
}

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return L"";
    std::wstring folder = path;
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}
