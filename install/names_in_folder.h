#pragma once
// Files and folders opened, renamed and linked by their name in a folder that
// is already open and checked, never by a path. Nothing on the way can be
// swapped for a link between the check and the use, and no final path is
// asked for: GetFinalPathNameByHandleW fails on an SMB share below a folder
// the user may pass but not list, for a volume without a drive letter, on
// RAM disks and image mounters the mount manager does not know, and past
// MAX_PATH on some volumes. Names here are one part (no "\").

#include "platform/fixed_text.h"
#include "platform/scoped_handle.h"

#include <windows.h>

#include <cstddef>
#include <cwchar>

// Sharing that keeps nobody else out.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Two files' information, or two open handles, naming one file: the same
// volume and file index, whatever the names or links that led to it.
bool IsSameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b);
bool SameFile(HANDLE a, HANDLE b);

// Opens name (length units) in folder, never through a reparse point at the
// name: the link itself is opened. disposition is FILE_OPEN, FILE_CREATE or
// FILE_OPEN_IF; options FILE_DIRECTORY_FILE, FILE_NON_DIRECTORY_FILE or 0.
// The handle does synchronous I/O. *error gets Windows' error code (0 when
// opened); *created whether the call made it.
ScopedHandle OpenInFolder(HANDLE folder, const wchar_t* name, size_t length, DWORD access,
                          DWORD share, DWORD disposition, DWORD options, DWORD* error,
                          bool* created = nullptr);

// Gives the open file the name in folder; replace: a file of that name goes
// (Windows refuses while that file has any open handle, runs or is mapped).
// Windows' error code, 0 when done.
DWORD RenameInFolder(HANDLE file, HANDLE folder, const wchar_t* name, bool replace);

// A second name for the open file in folder (a hard link); never replaces.
DWORD LinkInFolder(HANDLE file, HANDLE folder, const wchar_t* name);

// The one place where every name of the installation changes hands (link:
// a second name, else a rename), on its own so that the tests' build can
// stop the program at each change in turn. It calls SetNameInFolder.
DWORD ChangeNameInFolder(HANDLE file, HANDLE folder, const wchar_t* name, bool replace, bool link);
DWORD SetNameInFolder(HANDLE file, HANDLE folder, const wchar_t* name, bool replace, bool link);

// The open file's path below its volume ("\dir\file", on a share
// "\server\share\dir\file"), whatever its length; false when it does not fit
// out.
template <size_t Units>
bool NameBelowVolume(HANDLE handle, FixedText<Units>& out)
{
    constexpr size_t kBytes = sizeof(FILE_NAME_INFO) + 1100 * sizeof(wchar_t);
    alignas(FILE_NAME_INFO) unsigned char buffer[kBytes];
    auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer);
    if (!GetFileInformationByHandleEx(handle, FileNameInfo, info, kBytes))
        return false;
    size_t length = info->FileNameLength / sizeof(wchar_t);
    if (length >= Units)
        return false;
    std::wmemcpy(out.Buffer(), info->FileName, length);
    out.Buffer()[length] = L'\0';
    return true;
}

// Calls visit(context, name, length, attributes) for every name in the open
// folder (listed through its handle, so the folder's path plays no part).
using NameVisit = void (*)(void* context, const wchar_t* name, size_t length, DWORD attributes);
void ForEachName(HANDLE folder, NameVisit visit, void* context);
