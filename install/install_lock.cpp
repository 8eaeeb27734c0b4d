#include "install/install_lock.h"

namespace {

// "Global\" puts the name in the namespace every session sees, so that a run
// in session 0 (the system account of a deployment agent) and one at the
// desktop find the same object.
const wchar_t kMutexName[] = L"Global\\Photarium64SetupInstallation";

}  // namespace

InstallLock::InstallLock()
{
    // CreateMutexW asks an existing mutex for full access, which the default
    // security of one made by another account (the system account) may refuse
    // us: waiting is all we need. A mutex we cannot even wait on counts as held.
    mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
    if (mutex_ == nullptr && GetLastError() == ERROR_ACCESS_DENIED)
        mutex_ = OpenMutexW(SYNCHRONIZE, FALSE, kMutexName);
    if (mutex_ == nullptr)
        return;
    // a run that ended without releasing it (killed) leaves it abandoned to us
    DWORD waited = WaitForSingleObject(mutex_, 0);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

InstallLock::~InstallLock()
{
    if (held_)
        ReleaseMutex(mutex_);
    if (mutex_ != nullptr)
        CloseHandle(mutex_);
}
