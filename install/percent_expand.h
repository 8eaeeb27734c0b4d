#pragma once
// Expansion of %NAME% references in a settings folder. No <windows.h> here.

#include <cstddef>

// Where the values of the references come from.
class VariableLookup {
public:
    virtual ~VariableLookup() = default;
    // Fills value (units units, always terminated, a longer value cut) and
    // returns true when a variable of that name exists with a non-empty value.
    virtual bool Find(const wchar_t* name, wchar_t* value, size_t units) = 0;
};

// Copies text into out (260 units), replacing each "%NAME%" by the value of
// NAME; an undefined NAME leaves nothing, "%%" leaves nothing, and a "%"
// without a partner takes the rest of the text as the name. Names and the
// result are cut at 259 characters; out is always terminated.
void ExpandPercentVariables(const wchar_t* text, wchar_t* out, VariableLookup& variables);

// The same with the process's environment.
void ExpandPercentVariables(const wchar_t* text, wchar_t* out);
