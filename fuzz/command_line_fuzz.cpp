// The silent command line: any text, of any length.
#include "app/command_line.h"
#include "install/install_request.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WideInput line(data, size, size / 2 + 1);
    InstallRequest request;
    ClearInstallRequest(request);
    IsSilentCommandLine(line.get());
    ApplySilentSwitches(line.get(), request);

    if (TerminatedLength(request.targetFolder, kTextUnits) > 252)  // 260 minus "/folder="
        __builtin_trap();
    if (TerminatedLength(request.settingsFolder, kTextUnits) > 255)  // 260 minus "/ini="
        __builtin_trap();
    int flags = 0;
    for (int flag : request.formatFlags) {
        if (flag != 0 && flag != 1)
            __builtin_trap();
        flags += flag;
    }
    if (request.associate != (flags > 0 ? 1 : 0) || (flags != 0 && flags != 48 && flags != 62))
        __builtin_trap();
    return 0;
}
