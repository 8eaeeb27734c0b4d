#pragma once
// One installation at a time on the machine: two runs at once (a user's and
// a deployment agent's, in different sessions) would each leave part of the
// registration, and both report success.

#include <windows.h>

// Holds the machine-wide installation mutex for its lifetime, when it got it.
class InstallLock {
public:
    InstallLock();
    ~InstallLock();
    InstallLock(const InstallLock&) = delete;
    InstallLock& operator=(const InstallLock&) = delete;

    // False when another run holds it (or holds it where we may not look).
    bool Held() const { return held_; }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};
