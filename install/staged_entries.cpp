#include "install/staged_entries.h"

#include "install/entry_files.h"
#include "install/plain_file.h"
#include "platform/work_in_parts.h"
#include "product_facts.h"

#include <cstring>
#include <cwchar>
#include <new>

const wchar_t kFreshNameMark[] = PHOTARIUM_FRESH_NAME_MARK;

namespace {

constexpr size_t kMarkUnits = sizeof(kFreshNameMark) / sizeof(wchar_t) - 1;
constexpr size_t kHexUnits = 16;
// a fresh file whose name another entry's file took first
constexpr int kNameTaken = 2;
// a folder's path, "\*", the mark and "*"
constexpr size_t kPatternUnits = 1100;
static_assert(kPatternUnits >= kStagedPathUnits + kMarkUnits + 3, "every folder's pattern fits");

bool IsHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

// The path of an open file below its volume ("\dir\file").
bool NameWithoutVolume(HANDLE handle, FixedText<kStagedPathUnits>& out)
{
    alignas(FILE_NAME_INFO) unsigned char
        buffer[sizeof(FILE_NAME_INFO) + kStagedPathUnits * sizeof(wchar_t)];
    auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer);
    if (!GetFileInformationByHandleEx(handle, FileNameInfo, info, sizeof(buffer)))
        return false;
    size_t length = info->FileNameLength / sizeof(wchar_t);
    if (length >= out.kUnits)
        return false;
    std::wmemcpy(out.Buffer(), info->FileName, length);
    out.Buffer()[length] = L'\0';
    return true;
}

// Errors that say the drive or the system has no room left, as opposed to a
// place that cannot be written (a lock, no rights, a link in the way).
bool IsOutOfRoom(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_NOT_ENOUGH_QUOTA:
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_NO_SYSTEM_RESOURCES:
        return true;
    default:
        return false;
    }
}

// Removes the fresh files a killed run left in folder (a "\\?\" path).
void RemoveLeftovers(const wchar_t* folder)
{
    FixedText<kPatternUnits> pattern;
    if (!pattern.Format(L"%ls\\*%ls*", folder, kFreshNameMark))
        return;
    WIN32_FIND_DATAW found;
    ScopedFind search(FindFirstFileExW(pattern, FindExInfoBasic, &found, FindExSearchNameMatch,
                                       nullptr, 0));
    if (!search.IsValid())
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsFreshName(found.cFileName))
            RemoveName(folder, found.cFileName);
    } while (FindNextFileW(search.Get(), &found));
}

}  // namespace

bool IsFreshName(const wchar_t* name)
{
    size_t length = std::wcslen(name);
    if (length <= kMarkUnits + kHexUnits)
        return false;
    const wchar_t* mark = name + length - kMarkUnits - kHexUnits;
    if (std::wcsncmp(mark, kFreshNameMark, kMarkUnits) != 0)
        return false;
    for (const wchar_t* p = mark + kMarkUnits; *p; ++p) {
        if (!IsHexDigit(*p))
            return false;
    }
    return true;
}

StagedEntries::~StagedEntries()
{
    for (size_t i = 0; i < fileCount_; ++i) {
        ScopedHandle file(files_[i].file);
        if (file.IsValid())
            DeleteOnClose(file.Get());
    }
    // deepest first: a folder goes only once what it held has gone
    for (size_t i = folderCount_; i-- > 0;) {
        ScopedHandle folder(folders_[i].handle);
        if (!committed_ && folders_[i].created && folder.IsValid())
            DeleteOnClose(folder.Get());  // refused while not empty
    }
}

bool StagedEntries::Begin(const wchar_t* targetFolder, unsigned long long files)
{
    DWORD length =
        GetFullPathNameW(targetFolder, targetName_.kUnits, targetName_.Buffer(), nullptr);
    if (length == 0 || length >= targetName_.kUnits || !targetName_.AppendBackslash())
        return false;
    // the target itself is the one the user named, wherever it leads
    target_ = ScopedHandle(CreateFileW(targetName_,
                                       FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!target_.IsValid() ||
        !FinalPathOf(target_.Get(), targetFinal_.Buffer(), targetFinal_.kUnits) ||
        std::wcsncmp(targetFinal_, L"\\\\?\\", 4) != 0)
        return false;
    // "\\?\C:" or "\\?\UNC" ahead of the path below the volume
    volumeUnits_ = std::wcsncmp(targetFinal_ + 4, L"UNC\\", 4) == 0 ? 7 : 6;
    if (targetFinal_.EndsWithBackslash())
        targetFinal_.Buffer()[targetFinal_.Length() - 1] = L'\0';
    if (files > 0x100000)
        return false;
    fileCapacity_ = static_cast<size_t>(files);
    files_.reset(new (std::nothrow) StagedFile[fileCapacity_ > 0 ? fileCapacity_ : 1]);
    if (!files_)
        return false;
    bits_ = FreshNameBits();
    RemoveLeftovers(targetFinal_);
    return true;
}

bool StagedEntries::FullPath(StagedPath& out, const wchar_t* relative, size_t length,
                             const wchar_t* tail) const
{
    return out.Format(L"%ls\\%.*ls%ls", targetFinal_.Get(), static_cast<int>(length), relative,
                      tail);
}

bool StagedEntries::Grow()
{
    size_t capacity = folderCapacity_ == 0 ? 16 : folderCapacity_ * 2;
    std::unique_ptr<CheckedFolder[]> grown(new (std::nothrow) CheckedFolder[capacity]);
    if (!grown)
        return false;
    for (size_t i = 0; i < folderCount_; ++i)
        grown[i] = folders_[i];
    folders_.swap(grown);
    folderCapacity_ = capacity;
    return true;
}

int StagedEntries::Folder(const wchar_t* relative, size_t length)
{
    while (length > 0 && relative[length - 1] == L'\\')
        --length;
    if (length == 0)
        return 1;  // the target itself
    if (length >= kEntryNameUnits)
        return 0;
    for (size_t end = 1; end <= length; ++end) {
        if (end < length && relative[end] != L'\\')
            continue;
        CheckedFolder* known = nullptr;
        for (size_t i = folderCount_; i-- > 0 && !known;) {
            if (std::wcslen(folders_[i].name) == end &&
                CompareStringOrdinal(folders_[i].name, static_cast<int>(end), relative,
                                     static_cast<int>(end), TRUE) == CSTR_EQUAL)
                known = &folders_[i];
        }
        if (known) {
            if (!known->usable)
                return 0;
            continue;
        }
        if (folderCount_ == folderCapacity_ && !Grow())
            return -1;
        CheckedFolder& folder = folders_[folderCount_++];
        std::wmemcpy(folder.name, relative, end);
        folder.name[end] = L'\0';
        StagedPath path, reached;
        if (!FullPath(path, relative, end, L""))
            return 0;
        folder.created = CreateDirectoryW(path, nullptr) != FALSE;
        // A link or a file in the folder's place is not entered; holding the
        // folder without delete sharing keeps anyone from swapping it for one.
        ScopedHandle handle(CreateFileW(
            path, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE | (folder.created ? DELETE : 0),
            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        BY_HANDLE_FILE_INFORMATION info;
        folder.usable = handle.IsValid() && GetFileInformationByHandle(handle.Get(), &info) &&
                        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                        !IsLinkByItsKind(handle.Get(), info.dwFileAttributes) &&
                        FinalPathOf(handle.Get(), reached.Buffer(), reached.kUnits) &&
                        SamePath(reached, path);
        if (!folder.usable)
            return 0;
        folder.handle = handle.Release();
        if (!folder.created)
            RemoveLeftovers(path);
    }
    return 1;
}

int StagedEntries::Plan(const wchar_t* relative, unsigned long dosDateTime)
{
    if (fileCount_ == fileCapacity_)
        return -1;
    StagedFile& staged = files_[fileCount_++];
    staged.dosDateTime = dosDateTime;
    if (!CopyText(staged.name, kEntryNameUnits, relative))
        return 0;
    const wchar_t* last = std::wcsrchr(relative, L'\\');
    int folder = last ? Folder(relative, static_cast<size_t>(last - relative)) : 1;
    if (folder < 0)
        return -1;
    staged.placed = folder;
    return 0;
}

int StagedEntries::Create(StagedFile& staged) const
{
    wchar_t tail[kMarkUnits + kHexUnits + 1];
    std::wmemcpy(tail, kFreshNameMark, kMarkUnits);
    for (size_t i = 0; i < kHexUnits; ++i)
        tail[kMarkUnits + i] = L"0123456789abcdef"[(bits_ >> (60 - 4 * i)) & 15];
    tail[kMarkUnits + kHexUnits] = L'\0';
    StagedPath path, reached;
    if (!FullPath(path, staged.name, std::wcslen(staged.name), tail))
        return 0;
    // a new file under a name nobody could know ahead: no link can be there
    ScopedHandle created(CreateFileW(path, GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0,
                                     nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                     nullptr));
    if (!created.IsValid()) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS ? kNameTaken : IsOutOfRoom(error) ? -1 : 0;
    }
    // The folders are held, yet a Unix process is not bound by that. The name
    // without its volume, since a fresh name may pass MAX_PATH where some
    // systems give no final path; the volume is that of the checked folder.
    if (!NameWithoutVolume(created.Get(), reached) || !SamePath(reached, path + volumeUnits_)) {
        DeleteOnClose(created.Get());
        return 0;
    }
    staged.file = created.Release();
    return 1;
}

void StagedEntries::CreateFresh(void* context, size_t first, size_t end)
{
    StagedEntries& entries = *static_cast<StagedEntries*>(context);
    for (size_t i = first; i < end; ++i) {
        StagedFile& staged = entries.files_[i];
        if (staged.placed == 1)
            staged.placed = entries.Create(staged);
    }
}

void StagedEntries::CreateFiles()
{
    // No two planned entries share a fresh name unless they name the same
    // file; then whichever came first in its part took it.
    WorkInParts(CreateFresh, this, fileCount_, kMaxWorkParts);
    for (size_t i = 0; i < fileCount_; ++i) {
        StagedFile& staged = files_[i];
        if (staged.placed != kNameTaken)
            continue;
        staged.placed = 0;
        staged.namesake = true;  // unless a later namesake holds the file
        for (size_t j = i + 1; j < fileCount_; ++j) {
            StagedFile& holder = files_[j];
            if (holder.file != INVALID_HANDLE_VALUE &&
                CompareStringOrdinal(holder.name, -1, staged.name, -1, TRUE) == CSTR_EQUAL) {
                // the fresh file is still empty: the earlier entry takes it
                staged.file = holder.file;
                staged.placed = 1;
                staged.namesake = false;
                holder.file = INVALID_HANDLE_VALUE;
                holder.placed = 0;
                holder.namesake = true;
                break;
            }
        }
    }
}

int StagedEntries::Placed(size_t index, HANDLE* file) const
{
    *file = INVALID_HANDLE_VALUE;
    if (index >= fileCount_)
        return -1;
    *file = files_[index].file;
    return files_[index].placed;
}

void StagedEntries::CommitFiles(void* context, size_t first, size_t end)
{
    StagedEntries& entries = *static_cast<StagedEntries*>(context);
    // "\??\C:\..." for the rename: the system's own form of the target's path
    constexpr size_t kInfoBytes = sizeof(FILE_RENAME_INFO) + kStagedPathUnits * sizeof(wchar_t);
    alignas(FILE_RENAME_INFO) unsigned char buffer[kInfoBytes];
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer);
    for (size_t i = first; i < end; ++i) {
        StagedFile& staged = entries.files_[i];
        if (staged.file == INVALID_HANDLE_VALUE)
            continue;
        ScopedHandle file(staged.file);
        staged.file = INVALID_HANDLE_VALUE;
        std::memset(buffer, 0, sizeof(FILE_RENAME_INFO));
        rename->ReplaceIfExists = TRUE;
        rename->RootDirectory = nullptr;
        const wchar_t* target = entries.targetFinal_.Get() + 4;
        if (FormatText(rename->FileName, kStagedPathUnits, L"\\??\\%ls", target) &&
            JoinPath(rename->FileName, kStagedPathUnits, rename->FileName, staged.name)) {
            rename->FileNameLength = static_cast<DWORD>(std::wcslen(rename->FileName) * sizeof(wchar_t));
            staged.replaced = SetFileInformationByHandle(file.Get(), FileRenameInfo, rename,
                                                         static_cast<DWORD>(kInfoBytes)) != FALSE;
        }
        if (staged.replaced) {
            // the file system may hand the replaced file's creation time on
            // to the name's new file
            RestampCreationTime(file.Get(), staged.dosDateTime);
        } else {
            DeleteOnClose(file.Get());
        }
    }
}

int StagedEntries::Commit(FileNotReplaced* report)
{
    // every file takes a name of its own: no two entries share a fresh name
    WorkInParts(CommitFiles, this, fileCount_, kMaxWorkParts);
    size_t replaced = 0;
    for (size_t i = 0; i < fileCount_; ++i)
        replaced += files_[i].replaced ? 1 : 0;
    if (fileCount_ > 0 && replaced == 0)
        return -1;  // nothing changed: a read-only drive, every file locked
    committed_ = true;
    for (size_t i = 0; i < fileCount_ && report; ++i) {
        StagedPath path;
        // a namesake's file is the earlier entry's, reported there if at all
        if (!files_[i].replaced && !files_[i].namesake && path.JoinPath(targetName_, files_[i].name))
            report->Report(path);
    }
    return 0;
}
