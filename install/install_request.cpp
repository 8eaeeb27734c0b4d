#include "install/install_request.h"

#include <cstring>

void ClearInstallRequest(InstallRequest& request)
{
    std::memset(&request, 0, sizeof(request));
}
