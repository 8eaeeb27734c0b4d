#include "wizard/browse_folder.h"

#include "platform/fixed_text.h"
#include "platform/scoped_item_list.h"
#include "platform/string_table.h"
#include "resources/resource.h"
#include "wizard/folder_rules.h"

#include <shlobj.h>

int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED) {
        // data is BrowseForFolder's path: it always fits
        FixedText<MAX_PATH> path;
        path.Assign(reinterpret_cast<const wchar_t*>(data));
        size_t len = path.Length();
        // the browser finds "D:\Tools" but not "D:\Tools\"; a root keeps its backslash
        if (len > 3 && path.EndsWithBackslash())
            path.Buffer()[len - 1] = L'\0';
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.Get()));
    }
    return 0;
}

BOOL BrowseForFolder(HWND owner, PathText& path)
{
    FixedText<kFolderLabelUnits> title;
    LoadMessage(IDS_FOLDER_PREFIX, title);
    // both as the shell asks: MAX_PATH units
    FixedText<MAX_PATH> displayName;
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName.Buffer();
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(path.Get());

    ScopedItemList items(SHBrowseForFolderW(&info));
    if (items.Get() == nullptr)
        return FALSE;
    FixedText<MAX_PATH> chosen;
    if (!SHGetPathFromIDListW(items.Get(), chosen.Buffer()))
        return FALSE;
    if (!chosen.AppendBackslash())
        return FALSE;  // no room for the backslash: treat as not chosen
    return path.Assign(chosen) ? TRUE : FALSE;
}
