#include "install/percent_expand.h"

#include "platform/text_format.h"

namespace {

// Appends one unit while there is room for it and the terminator.
void Append(wchar_t* out, size_t& length, wchar_t unit)
{
    if (length + 1 < static_cast<size_t>(kTextUnits))
        out[length++] = unit;
}

}  // namespace

void ExpandPercentVariables(const wchar_t* text, wchar_t* out, VariableLookup& variables)
{
    size_t length = 0;
    size_t pos = 0;
    while (text[pos] != L'\0') {
        if (text[pos] != L'%') {
            Append(out, length, text[pos++]);
            continue;
        }
        ++pos;
        wchar_t name[kTextUnits];
        size_t nameLength = 0;
        // a name too long for its buffer is cut, the rest of it still consumed
        for (; text[pos] != L'\0' && text[pos] != L'%'; ++pos) {
            if (nameLength + 1 < static_cast<size_t>(kTextUnits))
                name[nameLength++] = text[pos];
        }
        name[nameLength] = L'\0';
        if (text[pos] == L'%')
            ++pos;
        wchar_t value[kTextUnits];
        // no variable has an empty name; "%%" stands for nothing
        if (nameLength > 0 && variables.Find(name, value, kTextUnits)) {
            for (size_t i = 0; value[i] != L'\0'; ++i)
                Append(out, length, value[i]);
        }
    }
    out[length] = L'\0';
}
