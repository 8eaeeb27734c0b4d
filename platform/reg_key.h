#pragma once
// A registry key that closes itself. Not copyable.

#include "platform/fixed_text.h"

#include <windows.h>

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // RegOpenKeyExW: never creates a missing key.
    bool Open(HKEY root, const wchar_t* path, REGSAM access);
    // RegCreateKeyW: creates the key and missing parents, or opens it.
    bool Create(HKEY root, const wchar_t* path);
    void Close();
    bool IsOpen() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

    // Reads a REG_SZ (or REG_EXPAND_SZ, unexpanded) value into text,
    // terminated. Fails, text empty, when the value is missing, of another
    // type or does not fit.
    template <size_t Units>
    bool ReadString(const wchar_t* name, FixedText<Units>& text) const
    {
        return ReadStringUnits(name, text.Buffer(), static_cast<DWORD>(Units));
    }
    // Writes REG_SZ with its terminating NUL counted.
    bool WriteString(const wchar_t* name, const wchar_t* text) const;
    bool WriteDword(const wchar_t* name, DWORD value) const;

private:
    bool ReadStringUnits(const wchar_t* name, wchar_t* buffer, DWORD units) const;

    HKEY key_ = nullptr;
};

// RegSetValueW: creates every missing key of path and sets its default value.
bool SetKeyDefault(HKEY root, const wchar_t* path, const wchar_t* text);
