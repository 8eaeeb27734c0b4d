#include "install/percent_expand.h"

namespace {

// Appends one unit while there is room for it and the terminator; false when
// there is none.
bool Append(PathText& out, size_t& length, wchar_t unit)
{
    if (length + 1 >= out.kUnits)
        return false;
    out.Buffer()[length++] = unit;
    return true;
}

}  // namespace

bool ExpandPercentVariables(const wchar_t* text, PathText& out, VariableLookup& variables)
{
    bool whole = true;
    size_t length = 0;
    size_t pos = 0;
    while (text[pos] != L'\0') {
        if (text[pos] != L'%') {
            whole = Append(out, length, text[pos++]) && whole;
            continue;
        }
        ++pos;
        wchar_t name[kTextUnits];
        size_t nameLength = 0;
        // a name too long for its buffer is cut, the rest of it still consumed
        for (; text[pos] != L'\0' && text[pos] != L'%'; ++pos) {
            if (nameLength + 1 < static_cast<size_t>(kTextUnits))
                name[nameLength++] = text[pos];
            else
                whole = false;
        }
        name[nameLength] = L'\0';
        if (text[pos] == L'%')
            ++pos;
        PathText value;
        // no variable has an empty name; "%%" stands for nothing
        VariableFound found = nameLength > 0 ? variables.Find(name, value) : VariableFound::kNone;
        if (found == VariableFound::kTooLong)
            whole = false;
        if (found != VariableFound::kNone) {
            for (size_t i = 0; value[i] != L'\0'; ++i)
                whole = Append(out, length, value[i]) && whole;
        }
    }
    out.Buffer()[length] = L'\0';
    return whole;
}
