#pragma once
// Whose per-user places this run may write: a deployment agent runs us as the
// system account, and a standard user who elevates with an administrator's
// name and password runs us as that other account. Their desktop, start menu,
// profile and HKEY_CURRENT_USER belong to nobody at the screen.

enum class RunAccount {
    kDesktopUser,    // the user at the desktop: per-user places are theirs
    kSystemAccount,  // the token's user is LocalSystem (S-1-5-18)
    kOtherAccount,   // the desktop's shell runs under another user
};

// What the account decision looks at.
enum class ShellOwner { kSameUser, kOtherUser, kUnknown };
struct AccountFacts {
    bool systemAccount;  // the process token's user is S-1-5-18
    ShellOwner shell;    // the user of the desktop's shell window, compared with ours
};

// The facts of this process (account_facts.cpp).
AccountFacts ReadAccountFacts();

// The one decision; a shell that cannot be asked counts as ours, so that an
// ordinary run keeps every per-user place.
RunAccount ClassifyRunAccount(const AccountFacts& facts);

// ClassifyRunAccount(ReadAccountFacts()).
RunAccount DecideRunAccount();

// False when per-user places are nobody's: shortcuts go to all users, no
// value is written under HKEY_CURRENT_USER, no settings folder in this
// account's own profile is recorded.
inline bool OwnsUserPlaces(RunAccount account)
{
    return account == RunAccount::kDesktopUser;
}

// True when path (expanded, absolute) lies in this account's profile, its
// roaming or its local application data (which folder redirection may put
// elsewhere): no user at the desktop can reach a folder there.
bool IsInOwnProfile(const wchar_t* path);
