#pragma once
// Expansion of %NAME% references in a settings folder. No <windows.h> here.

#include "platform/fixed_text.h"

// What a lookup found for a name.
enum class VariableFound {
    kNone,     // no variable of that name, or an empty one
    kValue,    // value holds it whole
    kTooLong,  // it does not fit in value (which holds what fits, or nothing)
};

// Where the values of the references come from.
class VariableLookup {
public:
    virtual ~VariableLookup() = default;
    // Fills value (always terminated) with the value of name.
    virtual VariableFound Find(const wchar_t* name, PathText& value) = 0;
};

// Copies text into out, replacing each "%NAME%" by the value of
// NAME; an undefined NAME leaves nothing, "%%" leaves nothing, and a "%"
// without a partner takes the rest of the text as the name. Names and the
// result are cut at 259 characters; out is always terminated. Returns false
// when something was cut: a name, a value or the result (a reference that
// cannot be resolved whole must not just disappear).
bool ExpandPercentVariables(const wchar_t* text, PathText& out, VariableLookup& variables);

// The same with the process's environment.
bool ExpandPercentVariables(const wchar_t* text, PathText& out);
