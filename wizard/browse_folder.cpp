#include "wizard/browse_folder.h"

#include "platform/string_table.h"
#include "platform/text_format.h"
#include "resources/resource.h"

#include <shlobj.h>

#include <cwchar>

int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED) {
        wchar_t path[MAX_PATH] = L"";
        wcsncpy(path, reinterpret_cast<const wchar_t*>(data), MAX_PATH - 1);
        size_t len = wcslen(path);
        // the browser finds "D:\Tools" but not "D:\Tools\"; a root keeps its backslash
        if (len > 3 && path[len - 1] == L'\\')
            path[len - 1] = L'\0';
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path));
    }
    return 0;
}

BOOL BrowseForFolder(HWND owner, wchar_t* path)
{
    wchar_t title[50];
    LoadMessage(IDS_FOLDER_PREFIX, title, 50);
    wchar_t displayName[MAX_PATH];
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(path);

    PIDLIST_ABSOLUTE items = SHBrowseForFolderW(&info);
    if (items == nullptr)
        return FALSE;
    wchar_t chosen[MAX_PATH] = L"";
    BOOL found = SHGetPathFromIDListW(items, chosen);
    CoTaskMemFree(items);
    if (!found)
        return FALSE;
    if (!AppendBackslash(chosen, MAX_PATH))
        return FALSE;  // no room for the backslash: treat as not chosen
    return CopyText(path, MAX_PATH, chosen) ? TRUE : FALSE;
}
