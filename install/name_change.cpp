#include "install/names_in_folder.h"

DWORD ChangeNameInFolder(HANDLE file, HANDLE folder, const wchar_t* name, bool replace, bool link)
{
    return SetNameInFolder(file, folder, name, replace, link);
}
