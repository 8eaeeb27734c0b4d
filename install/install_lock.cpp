#include "install/install_lock.h"

namespace {

// "Global\" puts the name in the namespace every session sees, so that a run
// in session 0 (the system account of a deployment agent) and one at the
// desktop find the same object.
const wchar_t kMutexName[] = L"Global\\Photarium64SetupInstallation";

}  // namespace

InstallLock::InstallLock()
{
    // an existing mutex of another account may refuse us its full access:
    // then another run holds it
    mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
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
