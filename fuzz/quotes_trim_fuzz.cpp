// StripQuotes and TrimSpaces on texts that fill their 260-unit buffers.
#include "app/command_line.h"
#include "fuzz_input.h"
#include "platform/folder_path.h"

#include <cwchar>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WideInput quoted(data, size, 260);
    size_t before = wcslen(quoted.get());
    StripQuotes(quoted.get());
    size_t after = TerminatedLength(quoted.get(), 260);
    if (after > before || (after > 0 && quoted.get()[after - 1] == L' '))
        __builtin_trap();

    WideInput trimmed(data, size, 260);
    TrimSpaces(trimmed.get());
    size_t len = TerminatedLength(trimmed.get(), 260);
    if (len > 0 && (trimmed.get()[0] == L' ' || trimmed.get()[len - 1] == L' '))
        __builtin_trap();
    return 0;
}
