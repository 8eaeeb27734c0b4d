#include "install/install_request.h"

void ClearInstallRequest(InstallRequest& request)
{
    request.targetFolder.Clear();
    request.startMenuGroup = 0;
    request.desktopShortcut = 0;
    request.thumbnailsShortcut = 0;
    request.allUsers = 0;
    request.settingsFolder.Clear();
    for (int& flag : request.formatFlags)
        flag = 0;
    request.associate = 0;
    request.silent = 0;
    request.settingsFolderCut = 0;
    request.logFile.Clear();
}
