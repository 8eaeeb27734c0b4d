#include "register/install_folder.h"

#include "platform/folder_path.h"
#include "register/install_folder_limits.h"

InstallFolder::InstallFolder(const wchar_t* typed)
{
    if (!typed_.Assign(typed))
        return;
    PathText trimmed(typed_.Get());
    TrimSpaces(trimmed.Buffer());
    size_t withBackslash = trimmed.Length() + (trimmed.EndsWithBackslash() ? 0 : 1);
    if (trimmed.Empty() || withBackslash > kMaxInstallFolderChars || !IsFolderBelowRoot(trimmed))
        return;
    path_.JoinPath(trimmed, L"");
}
