// Percent expansion of any settings folder, with variables whose values can
// be longer than the result: the result stays terminated inside its 260 units
// and, since no value holds a "%", holds none.
#include "fuzz_input.h"
#include "install/percent_expand.h"

#include <cwchar>

namespace {
// A name whose first unit is even is defined; its value repeats the name.
class RepeatingVariables : public VariableLookup {
public:
    VariableFound Find(const wchar_t* name, PathText& value) override
    {
        wchar_t* filled = value.Buffer();
        size_t nameLength = wcslen(name);
        if (nameLength == 0 || (name[0] & 1) != 0)
            return VariableFound::kNone;
        size_t valueLength = (static_cast<size_t>(name[0]) >> 1) % 400;
        size_t i = 0;
        for (; i < valueLength && i + 1 < value.kUnits; ++i)
            filled[i] = name[i % nameLength];
        filled[i] = L'\0';
        return i == 0 ? VariableFound::kNone
                      : i < valueLength ? VariableFound::kTooLong : VariableFound::kValue;
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WideInput text(data, size, 260);
    PathText out;
    wmemset(out.Buffer(), L'#', out.kUnits);
    RepeatingVariables variables;
    ExpandPercentVariables(text.get(), out, variables);
    size_t length = TerminatedLength(out.Get(), out.kUnits);
    if (wmemchr(out.Get(), L'%', length) != nullptr)
        __builtin_trap();
    return 0;
}
