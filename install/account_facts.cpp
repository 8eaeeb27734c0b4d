// The facts the account decision looks at, read from this process's token
// and the desktop's shell. A file of its own, so that a build of the tests
// can put the program in each position (tests/fixtures/forced_account.cpp).
#include "install/run_account.h"

#include "platform/scoped_handle.h"

#include <windows.h>

#include <memory>
#include <new>

namespace {

// The token's user (TOKEN_USER followed by its SID), or nothing.
std::unique_ptr<BYTE[]> ReadTokenUser(HANDLE process)
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw))
        return nullptr;
    ScopedHandle token(raw);
    DWORD bytes = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &bytes);
    if (bytes == 0)
        return nullptr;
    std::unique_ptr<BYTE[]> user(new (std::nothrow) BYTE[bytes]);
    if (user == nullptr || !GetTokenInformation(token.Get(), TokenUser, user.get(), bytes, &bytes))
        return nullptr;
    return user;
}

PSID SidOf(const std::unique_ptr<BYTE[]>& user)
{
    return reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid;
}

// The shell window of our desktop (GetShellWindow) belongs to the process
// that runs the user's shell; its token's user is the user at the desktop.
// A desktop without a shell (session 0) or a shell we may not ask says
// nothing.
ShellOwner ShellOwnerAgainst(PSID ours)
{
    HWND shell = GetShellWindow();
    DWORD processId = 0;
    if (shell == nullptr || GetWindowThreadProcessId(shell, &processId) == 0 || processId == 0)
        return ShellOwner::kUnknown;
    HANDLE raw = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (raw == nullptr)
        return ShellOwner::kUnknown;
    ScopedHandle process(raw);
    std::unique_ptr<BYTE[]> owner = ReadTokenUser(process.Get());
    if (owner == nullptr)
        return ShellOwner::kUnknown;
    return EqualSid(SidOf(owner), ours) ? ShellOwner::kSameUser : ShellOwner::kOtherUser;
}

}  // namespace

AccountFacts ReadAccountFacts()
{
    AccountFacts facts = {false, ShellOwner::kUnknown};
    std::unique_ptr<BYTE[]> user = ReadTokenUser(GetCurrentProcess());
    if (user == nullptr)
        return facts;
    facts.systemAccount = IsWellKnownSid(SidOf(user), WinLocalSystemSid) != FALSE;
    facts.shell = ShellOwnerAgainst(SidOf(user));
    return facts;
}
