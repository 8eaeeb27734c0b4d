#include "platform/reg_key.h"

#include <cwchar>

bool RegKey::Open(HKEY root, const wchar_t* path, REGSAM access)
{
    Close();
    return RegOpenKeyExW(root, path, 0, access, &key_) == ERROR_SUCCESS;
}

bool RegKey::Create(HKEY root, const wchar_t* path)
{
    Close();
    return RegCreateKeyW(root, path, &key_) == ERROR_SUCCESS;
}

void RegKey::Close()
{
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

bool RegKey::ReadStringUnits(const wchar_t* name, wchar_t* buffer, DWORD units) const
{
    buffer[0] = L'\0';
    if (key_ == nullptr)
        return false;
    const DWORD bufferBytes = units * sizeof(wchar_t);
    DWORD type = 0;
    DWORD size = bufferBytes;
    LONG rc = RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = L'\0';
        return false;
    }
    // the stored data may lack its terminator: add one, or fail when there is no room
    DWORD stored = size / sizeof(wchar_t);
    if (stored > 0 && buffer[stored - 1] == L'\0')
        return true;
    if (stored >= units) {
        buffer[0] = L'\0';
        return false;
    }
    buffer[stored] = L'\0';
    return true;
}

bool RegKey::WriteString(const wchar_t* name, const wchar_t* text) const
{
    DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) ==
           ERROR_SUCCESS;
}

bool RegKey::WriteDword(const wchar_t* name, DWORD value) const
{
    return RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

bool SetKeyDefault(HKEY root, const wchar_t* path, const wchar_t* text)
{
    return RegSetValueW(root, path, REG_SZ, text, static_cast<DWORD>(wcslen(text))) == ERROR_SUCCESS;
}
