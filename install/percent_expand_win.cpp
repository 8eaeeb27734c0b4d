#include "install/percent_expand.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <new>

namespace {

class EnvironmentVariables : public VariableLookup {
public:
    VariableFound Find(const wchar_t* name, wchar_t* value, size_t units) override
    {
        DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(units));
        if (length == 0)
            return VariableFound::kNone;
        if (length < units)
            return VariableFound::kValue;
        // too long for the buffer: fetch it whole and keep what fits; without
        // the memory for it the value is still too long, not missing
        value[0] = L'\0';
        std::unique_ptr<wchar_t[]> whole(new (std::nothrow) wchar_t[length]);
        if (!whole)
            return VariableFound::kTooLong;
        DWORD got = GetEnvironmentVariableW(name, whole.get(), length);
        if (got == 0)
            return VariableFound::kNone;  // gone meanwhile
        if (got < length) {
            wmemcpy(value, whole.get(), units - 1);
            value[units - 1] = L'\0';
        }
        return VariableFound::kTooLong;
    }
};

}  // namespace

bool ExpandPercentVariables(const wchar_t* text, wchar_t* out)
{
    EnvironmentVariables environment;
    return ExpandPercentVariables(text, out, environment);
}
