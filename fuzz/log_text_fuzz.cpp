// Install-log bytes: every line feed becomes CR LF, nothing wider than a byte.
#include "fuzz_input.h"
#include "install/log_text.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WideInput text(data, size, size / 2 + 1);
    std::string entry(FormatInstallLogEntry(L"08.12.2026", L"10:00:00", text.get(), nullptr), '\0');
    if (FormatInstallLogEntry(L"08.12.2026", L"10:00:00", text.get(), &entry[0]) != entry.size())
        __builtin_trap();
    for (size_t i = 0; i < entry.size(); ++i)
        if (entry[i] == '\n' && (i == 0 || entry[i - 1] != '\r'))
            __builtin_trap();
    if (entry.size() < 50 || entry.compare(entry.size() - 50, 50,
                                           "------------------------------------------------\r\n") != 0)
        __builtin_trap();
    return 0;
}
