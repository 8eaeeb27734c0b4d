#include "install/percent_expand.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <new>

namespace {

class EnvironmentVariables : public VariableLookup {
public:
    bool Find(const wchar_t* name, wchar_t* value, size_t units) override
    {
        DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(units));
        if (length == 0)
            return false;
        if (length < units)
            return true;
        // too long for the buffer: fetch it whole and keep what fits
        std::unique_ptr<wchar_t[]> whole(new (std::nothrow) wchar_t[length]);
        if (!whole)
            return false;
        DWORD got = GetEnvironmentVariableW(name, whole.get(), length);
        if (got == 0 || got >= length)
            return false;
        wmemcpy(value, whole.get(), units - 1);
        value[units - 1] = L'\0';
        return true;
    }
};

}  // namespace

void ExpandPercentVariables(const wchar_t* text, wchar_t* out)
{
    EnvironmentVariables environment;
    ExpandPercentVariables(text, out, environment);
}
