#include "install/run_account.h"

#include "platform/fixed_text.h"
#include "platform/text_format.h"

#include <windows.h>
#include <shlobj.h>

RunAccount ClassifyRunAccount(const AccountFacts& facts)
{
    if (facts.systemAccount)
        return RunAccount::kSystemAccount;
    if (facts.shell == ShellOwner::kOtherUser)
        return RunAccount::kOtherAccount;
    return RunAccount::kDesktopUser;
}

RunAccount DecideRunAccount()
{
    return ClassifyRunAccount(ReadAccountFacts());
}

namespace {

// folder (no final backslash needed) holds path, compared without case as
// the file system compares names
bool IsInFolder(const wchar_t* path, const wchar_t* folder)
{
    FixedText<kTextUnits> full;
    FixedText<kTextUnits> base;
    DWORD pathChars = GetFullPathNameW(path, static_cast<DWORD>(full.kUnits), full.Buffer(), nullptr);
    DWORD baseChars = GetFullPathNameW(folder, static_cast<DWORD>(base.kUnits), base.Buffer(), nullptr);
    if (pathChars == 0 || pathChars >= full.kUnits || baseChars == 0 || baseChars >= base.kUnits)
        return false;
    while (baseChars > 0 && base.Get()[baseChars - 1] == L'\\')
        --baseChars;
    if (baseChars == 0 || pathChars < baseChars)
        return false;
    if (CompareStringOrdinal(full, static_cast<int>(baseChars), base, static_cast<int>(baseChars),
                             TRUE) != CSTR_EQUAL)
        return false;
    wchar_t next = full.Get()[baseChars];
    return next == L'\0' || next == L'\\';
}

}  // namespace

bool IsInOwnProfile(const wchar_t* path)
{
    static const int kFolders[] = {CSIDL_PROFILE, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA};
    for (int csidl : kFolders) {
        FixedText<kTextUnits> folder;
        if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT,
                                       folder.Buffer())) &&
            !folder.Empty() && IsInFolder(path, folder))
            return true;
    }
    return false;
}
