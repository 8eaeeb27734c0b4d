// The temporary conversion path of any active settings file: terminated inside
// its 260 units, and when formed, ending in the temporary file's name.
#include "fuzz_input.h"
#include "install/settings_conversion.h"

#include <cwchar>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WideInput active(data, size, 260);
    PathText out;
    wmemset(out.Buffer(), L'#', out.kUnits);
    bool formed = FormTempConversionPath(active.get(), out);
    size_t length = TerminatedLength(out.Get(), out.kUnits);
    if (formed != (length > 0))
        __builtin_trap();
    if (formed && (length < 17 || wcscmp(out.Get() + length - 17, L"photar64.ini_temp") != 0))
        __builtin_trap();
    return 0;
}
