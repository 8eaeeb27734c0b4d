#include "install/planted_links.h"

#include "install/link_facts.h"
#include "install/where_names_lead.h"
#include "platform/fixed_text.h"
#include "platform/scoped_handle.h"

#include <sddl.h>

#include <cwchar>

namespace {

using WayPath = FixedText<kFullPathUnits>;

// TrustedInstaller, the service that owns Windows' own files.
const wchar_t kTrustedInstaller[] =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

bool IsWellKnown(PSID owner, WELL_KNOWN_SID_TYPE type)
{
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    return CreateWellKnownSid(type, nullptr, sid, &size) && EqualSid(owner, sid);
}

// The length of "C:\", "\\server\share\" or their "\\?\" forms at the start.
size_t RootLength(const wchar_t* path)
{
    size_t i = 0;
    if (path[0] == L'\\' && path[1] == L'\\' && (path[2] == L'?' || path[2] == L'.') &&
        path[3] == L'\\') {
        if (_wcsnicmp(path + 4, L"UNC\\", 4) != 0)
            return 7;  // "\\?\C:\"
        i = 8;
    } else if (path[0] == L'\\' && path[1] == L'\\') {
        i = 2;
    } else {
        return 3;
    }
    for (int part = 0; part < 2; ++part) {  // server, share
        while (path[i] != L'\0' && path[i] != L'\\')
            ++i;
        if (path[i] == L'\\')
            ++i;
    }
    return i;
}

// The running account's user, into sid of SECURITY_MAX_SID_SIZE bytes.
bool RunningUser(BYTE* sid)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    ScopedHandle owned(token);
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size))
        return false;
    auto* user = reinterpret_cast<TOKEN_USER*>(buffer);
    return CopySid(SECURITY_MAX_SID_SIZE, sid, user->User.Sid) != FALSE;
}

// 1 when the folder is a link an untrusted owner made, 0 when it is not a
// link or a trusted one's, -1 when it does not exist. The folder is opened as
// itself, not as what it leads to; its owner is read through READ_CONTROL.
int CheckOnTheWay(const wchar_t* path, PSID runningUser)
{
    ScopedHandle folder(CreateFileW(path, READ_CONTROL | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                    nullptr));
    if (!folder.IsValid()) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? -1 : 0;
    }
    LinkFacts facts = ReadLinkFacts(folder.Get(), path);
    if (!facts.leadsElsewhere)
        return 0;
    // an owner that cannot be read is nobody trusted
    return facts.ownerRead && IsTrustedLinkOwner(facts.owner, runningUser) ? 0 : 1;
}

}  // namespace

bool IsTrustedLinkOwner(PSID owner, PSID runningUser)
{
    if (IsWellKnown(owner, WinBuiltinAdministratorsSid) || IsWellKnown(owner, WinLocalSystemSid) ||
        (runningUser != nullptr && EqualSid(owner, runningUser)))
        return true;
    PSID installer = nullptr;
    if (!ConvertStringSidToSidW(kTrustedInstaller, &installer))
        return false;
    bool same = EqualSid(owner, installer) != FALSE;
    LocalFree(installer);
    return same;
}

bool HasPlantedLinkOnTheWay(const wchar_t* folder)
{
    WayPath full;
    DWORD length = GetFullPathNameW(folder, full.kUnits, full.Buffer(), nullptr);
    if (length == 0 || length >= full.kUnits)
        return false;  // the folder's own checks refuse what this cannot name
    BYTE user[SECURITY_MAX_SID_SIZE];
    PSID runningUser = RunningUser(user) ? user : nullptr;
    wchar_t* text = full.Buffer();
    for (size_t i = RootLength(text); i <= length; ++i) {
        if (text[i] != L'\\' && text[i] != L'\0')
            continue;
        if (i == 0 || text[i - 1] == L'\\')
            continue;  // the root's own backslash, or a final one
        wchar_t kept = text[i];
        text[i] = L'\0';
        int verdict = CheckOnTheWay(text, runningUser);
        text[i] = kept;
        if (verdict != 0)
            return verdict > 0;
    }
    return false;
}
