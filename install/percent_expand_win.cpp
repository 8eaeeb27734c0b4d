#include "install/percent_expand.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <new>

namespace {

class EnvironmentVariables : public VariableLookup {
public:
    VariableFound Find(const wchar_t* name, PathText& value) override
    {
        // the length without the terminator when the value fits, the units it needs when not
        const DWORD units = value.kUnits;
        DWORD length = GetEnvironmentVariableW(name, value.Buffer(), units);
        if (length == 0)
            return VariableFound::kNone;
        if (length < units)
            return VariableFound::kValue;
        // too long for the buffer: fetch it whole and keep what fits; without
        // the memory for it the value is still too long, not missing
        value.Clear();
        std::unique_ptr<wchar_t[]> whole(new (std::nothrow) wchar_t[length]);
        if (!whole)
            return VariableFound::kTooLong;
        DWORD got = GetEnvironmentVariableW(name, whole.get(), length);
        if (got == 0)
            return VariableFound::kNone;  // gone meanwhile
        if (got < length) {
            wmemcpy(value.Buffer(), whole.get(), units - 1);
            value.Buffer()[units - 1] = L'\0';
        }
        return VariableFound::kTooLong;
    }
};

}  // namespace

bool ExpandPercentVariables(const wchar_t* text, PathText& out)
{
    EnvironmentVariables environment;
    return ExpandPercentVariables(text, out, environment);
}
