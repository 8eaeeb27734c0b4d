#include "register/default_apps.h"

#include "platform/com_ptr.h"
#include "platform/os_version.h"

#include <windows.h>
#include <shellapi.h>
#include <shobjidl.h>

namespace {

// The value name under HKLM\SOFTWARE\RegisteredApplications.
const wchar_t kRegisteredName[] = L"Photarium";

// ShellExecute: a result above this means Windows took the request.
constexpr INT_PTR kShellExecuteErrorLimit = 32;

}  // namespace

bool UserChoiceIsWindowsOwn()
{
    return IsOsVersionAtLeast(6, 2);
}

int OpenDefaultAppsSettings()
{
    if (!UserChoiceIsWindowsOwn())
        return 0;
    if (IsWindows10OrLater()) {
        // the registered name needs no escaping in a query; versions that do
        // not know the parameter ignore it
        INT_PTR result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", L"ms-settings:defaultapps?registeredAppMachine=Photarium",
                          nullptr, nullptr, SW_SHOWNORMAL));
        return result > kShellExecuteErrorLimit ? 1 : 0;
    }
    // From Windows 10 on this only tells the user to go to Settings, which is
    // why it serves 8 and 8.1 alone.
    ComInitScope com;
    ComPtr<IApplicationAssociationRegistrationUI> page;
    if (FAILED(CoCreateInstance(CLSID_ApplicationAssociationRegistrationUI, nullptr,
                                CLSCTX_INPROC_SERVER, IID_IApplicationAssociationRegistrationUI,
                                page.Receive())))
        return 0;
    return SUCCEEDED(page->LaunchAdvancedAssociationUI(kRegisteredName)) ? 1 : 0;
}
