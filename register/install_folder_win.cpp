#include "register/install_folder.h"

#include "platform/folder_path.h"

// the side of the install folder that needs the file system
bool InstallFolder::Create()
{
    return Usable() && MakeFolderPath(path_) != 0;
}
