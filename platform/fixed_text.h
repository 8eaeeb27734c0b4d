#pragma once
// A UTF-16 text that carries its capacity in its type. Every change either
// fits whole or leaves the text as it was, so a cut text is never used.
// No <windows.h> here.

#include <cstddef>
#include <cwchar>

#include "platform/text_format.h"

template <size_t Units>
class FixedText {
public:
    static_assert(Units > 0, "a text needs room for its terminator");
    static constexpr size_t kUnits = Units;

    FixedText() { text_[0] = L'\0'; }
    // the text, or empty when it does not fit
    explicit FixedText(const wchar_t* text) : FixedText() { Assign(text); }
    FixedText(const FixedText&) = delete;
    FixedText& operator=(const FixedText&) = delete;

    const wchar_t* Get() const { return text_; }
    operator const wchar_t*() const { return text_; }
    // For a call that fills the buffer; it is given kUnits as its size.
    wchar_t* Buffer() { return text_; }
    size_t Length() const { return std::wcslen(text_); }
    bool Empty() const { return text_[0] == L'\0'; }
    void Clear() { text_[0] = L'\0'; }

    bool Assign(const wchar_t* text)
    {
        if (std::wcslen(text) >= Units)
            return false;
        return CopyText(text_, Units, text);
    }
    bool Append(const wchar_t* tail) { return AppendText(text_, Units, tail); }
    bool AppendBackslash() { return ::AppendBackslash(text_, Units); }
    bool EndsWithBackslash() const { return ::EndsWithBackslash(text_); }
    bool JoinPath(const wchar_t* folder, const wchar_t* name)
    {
        return ::JoinPath(text_, Units, folder, name);
    }
    // printf-style (%ls for wide strings); false, the text as it was, when it
    // does not fit. Formatted apart first: the text may be one of the arguments.
    template <typename... Args>
    bool Format(const wchar_t* format, Args... args)
    {
        wchar_t formatted[Units];
        if (!FormatText(formatted, Units, format, args...))
            return false;
        return CopyText(text_, Units, formatted);
    }

private:
    wchar_t text_[Units];
};

// A path of the program's usual size (MAX_PATH): 259 characters and the terminator.
using PathText = FixedText<kTextUnits>;
