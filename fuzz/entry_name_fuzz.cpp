// Entry names as an archive may carry them: any bytes up to the name buffer.
#include "install/entry_name.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t len = size < kEntryNameBytes - 1 ? size : kEntryNameBytes - 1;
    std::unique_ptr<char[]> name(new char[len + 1]);
    std::memcpy(name.get(), data, len);
    name[len] = '\0';
    size_t textLen = std::strlen(name.get());

    const char* last = LastNamePart(name.get());
    if (last < name.get() || last > name.get() + textLen)
        __builtin_trap();
    NamesIconLibrary(name.get());

    if (IsSafeEntryName(name.get())) {
        // a safe name never starts at a root, names no drive and climbs no level
        std::string text(name.get());
        if (!text.empty() && (text[0] == '/' || text[0] == '\\'))
            __builtin_trap();
        if (text.find(':') != std::string::npos)
            __builtin_trap();
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find_first_of("/\\", start);
            if (end == std::string::npos)
                end = text.size();
            if (text.compare(start, end - start, "..") == 0)
                __builtin_trap();
            start = end + 1;
        }
    }
    return 0;
}
