#include "install/staged_entries.h"

#include "install/delete_on_close.h"
#include "install/entry_files.h"
#include "install/fresh_name_bits.h"
#include "install/names_in_folder.h"
#include "install/where_names_lead.h"
#include "platform/work_in_parts.h"
#include "product_facts.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

const wchar_t kFreshNameMark[] = PHOTARIUM_FRESH_NAME_MARK;
const wchar_t kKeptNameTail[] = L".alt";
const wchar_t kCommitMarkName[] = L"Photarium_Update" PHOTARIUM_FRESH_NAME_MARK;

namespace {

constexpr size_t kMarkUnits = sizeof(kFreshNameMark) / sizeof(wchar_t) - 1;
constexpr size_t kKeptUnits = sizeof(kKeptNameTail) / sizeof(wchar_t) - 1;
constexpr size_t kHexUnits = 16;
// a fresh name's tail: the mark, the run's bits in hexadecimal, ".alt" for a kept file
using FreshNameTail = FixedText<kMarkUnits + kHexUnits + kKeptUnits + 1>;
// a fresh file whose name another entry's file took first
constexpr int kNameTaken = 2;

void FormFreshTail(unsigned long long bits, bool kept, FreshNameTail& tail)
{
    wchar_t* units = tail.Buffer();
    std::wmemcpy(units, kFreshNameMark, kMarkUnits);
    for (size_t i = 0; i < kHexUnits; ++i)
        units[kMarkUnits + i] = L"0123456789abcdef"[(bits >> (60 - 4 * i)) & 15];
    units[kMarkUnits + kHexUnits] = L'\0';
    if (kept)
        std::wmemcpy(units + kMarkUnits + kHexUnits, kKeptNameTail, kKeptUnits + 1);
}

bool IsHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

// The length of the final name a leftover's name starts with, 0 for a name
// that is none; *kept for an earlier file kept during a commit.
size_t LeftoverStem(const wchar_t* name, size_t length, bool* kept)
{
    *kept = length > kKeptUnits &&
            CompareStringOrdinal(name + length - kKeptUnits, static_cast<int>(kKeptUnits),
                                 kKeptNameTail, static_cast<int>(kKeptUnits), FALSE) == CSTR_EQUAL;
    if (*kept)
        length -= kKeptUnits;
    if (length <= kMarkUnits + kHexUnits)
        return 0;
    const wchar_t* mark = name + length - kMarkUnits - kHexUnits;
    if (std::wcsncmp(mark, kFreshNameMark, kMarkUnits) != 0)
        return 0;
    for (size_t i = 0; i < kHexUnits; ++i) {
        if (!IsHexDigit(mark[kMarkUnits + i]))
            return 0;
    }
    return static_cast<size_t>(mark - name);
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

// A volume without hard links (FAT, exFAT, some shares and RAM disks)
// answers a link request so; the earlier file is then moved aside instead.
bool HasNoHardLinks(DWORD error)
{
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_PARAMETER || error == ERROR_CALL_NOT_IMPLEMENTED;
}

// Sets or clears the read-only mark through a handle with
// FILE_WRITE_ATTRIBUTES; the times stay (zero leaves each as it is).
bool MarkReadOnly(HANDLE file, bool readOnly)
{
    FILE_BASIC_INFO basic = {};
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof(basic)))
        return false;
    DWORD attributes = readOnly ? basic.FileAttributes | FILE_ATTRIBUTE_READONLY
                                : basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
    FILE_BASIC_INFO changed = {};
    changed.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &changed, sizeof(changed)) != FALSE;
}

}  // namespace

bool IsFreshName(const wchar_t* name)
{
    bool kept = false;
    return LeftoverStem(name, std::wcslen(name), &kept) != 0 && !kept;
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
    // Everything below is checked against the target's path below its
    // volume, which Windows gives on every volume and share ("\" for a
    // volume mounted at the target itself).
    if (!target_.IsValid() || !NameBelowVolume(target_.Get(), targetBase_))
        return false;
    if (targetBase_.EndsWithBackslash())
        targetBase_.Buffer()[targetBase_.Length() - 1] = L'\0';
    if (files > kMostEntries)
        return false;
    fileCapacity_ = static_cast<size_t>(files);
    files_.reset(new (std::nothrow) StagedFile[fileCapacity_ > 0 ? fileCapacity_ : 1]);
    if (!files_)
        return false;
    bits_ = FreshNameBits();
    DWORD error = 0;
    restoring_ = OpenInFolder(target_.Get(), kCommitMarkName, std::wcslen(kCommitMarkName),
                              FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN, FILE_NON_DIRECTORY_FILE,
                              &error)
                     .IsValid();
    return true;
}

bool StagedEntries::IsAt(HANDLE handle, const wchar_t* relative, size_t length,
                         const wchar_t* tail) const
{
    StagedPath expected, reached;
    return expected.Format(L"%ls\\%.*ls%ls", targetBase_.Get(), static_cast<int>(length), relative,
                           tail) &&
           NameBelowVolume(handle, reached) && SamePath(reached, expected);
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
    HANDLE deepest = INVALID_HANDLE_VALUE;
    return CheckFolders(relative, length, &deepest);
}

int StagedEntries::CheckFolders(const wchar_t* relative, size_t length, HANDLE* deepest)
{
    *deepest = target_.Get();
    while (length > 0 && relative[length - 1] == L'\\')
        --length;
    if (length == 0)
        return 1;  // the target itself
    if (length >= kEntryNameUnits)
        return 0;
    for (size_t start = 0, end = 1; end <= length; ++end) {
        if (end < length && relative[end] != L'\\')
            continue;
        CheckedFolder* known = nullptr;
        for (size_t i = folderCount_; i-- > 0 && !known;) {
            if (std::wcslen(folders_[i].name) == end &&
                CompareStringOrdinal(folders_[i].name, static_cast<int>(end), relative,
                                     static_cast<int>(end), TRUE) == CSTR_EQUAL)
                known = &folders_[i];
        }
        if (!known) {
            if (folderCount_ == folderCapacity_ && !Grow())
                return -1;
            known = &folders_[folderCount_++];
            std::wmemcpy(known->name, relative, end);
            known->name[end] = L'\0';
            // Each folder is opened in the one above it, never through a link
            // at its name. Holding it without delete sharing keeps anyone from
            // swapping it for a link; one this run made may go again if empty.
            const DWORD access = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES;
            const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
            DWORD error = 0;
            ScopedHandle handle = OpenInFolder(*deepest, relative + start, end - start,
                                               access | DELETE, share, FILE_CREATE,
                                               FILE_DIRECTORY_FILE, &error, &known->created);
            if (!handle.IsValid() && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS))
                handle = OpenInFolder(*deepest, relative + start, end - start, access, share,
                                      FILE_OPEN, FILE_DIRECTORY_FILE, &error);
            // A file, a junction or a link in the folder's place is not entered;
            // nor one the system followed all the same (Unix links under Wine).
            BY_HANDLE_FILE_INFORMATION info;
            known->usable = handle.IsValid() && GetFileInformationByHandle(handle.Get(), &info) &&
                            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                            !IsLinkByItsKind(handle.Get(), info.dwFileAttributes) &&
                            IsAt(handle.Get(), relative, end, L"");
            if (known->usable)
                known->handle = handle.Release();
        }
        if (!known->usable)
            return 0;
        *deepest = known->handle;
        start = end + 1;
    }
    return 1;
}

int StagedEntries::Plan(const wchar_t* relative, unsigned long dosDateTime)
{
    if (fileCount_ == fileCapacity_)
        return -1;
    StagedFile& staged = files_[fileCount_++];
    staged.dosDateTime = dosDateTime;
    staged.folder = target_.Get();
    if (!CopyText(staged.name, kEntryNameUnits, relative))
        return 0;
    const wchar_t* last = std::wcsrchr(relative, L'\\');
    staged.leaf = last ? static_cast<size_t>(last - relative) + 1 : 0;
    int folder = last ? CheckFolders(relative, staged.leaf - 1, &staged.folder) : 1;
    if (folder < 0)
        return -1;
    staged.placed = folder;
    return 0;
}

void StagedEntries::SweepName(void* context, const wchar_t* name, size_t length, DWORD attributes)
{
    auto& entries = *static_cast<StagedEntries*>(context);
    bool kept = false;
    size_t stem = LeftoverStem(name, length, &kept);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || stem == 0)
        return;
    // only what stands beside an entry of this archive: a user's own file
    // that merely looks like a leftover stays
    bool beside = false;
    for (size_t i = 0; i < entries.fileCount_ && !beside; ++i) {
        const StagedFile& staged = entries.files_[i];
        const wchar_t* leaf = staged.name + staged.leaf;
        beside = staged.folder == entries.sweepFolder_ && std::wcslen(leaf) == stem &&
                 CompareStringOrdinal(leaf, static_cast<int>(stem), name, static_cast<int>(stem),
                                      TRUE) == CSTR_EQUAL;
    }
    StagedPath relative, stemName;
    if (!beside ||
        !relative.Format(entries.sweepRelative_[0] ? L"%ls\\%.*ls" : L"%ls%.*ls",
                         entries.sweepRelative_, static_cast<int>(length), name) ||
        !stemName.Format(L"%.*ls", static_cast<int>(stem), name))
        return;
    DWORD error = 0;
    ScopedHandle left = OpenInFolder(entries.sweepFolder_, name, length,
                                     DELETE | FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN,
                                     FILE_NON_DIRECTORY_FILE, &error);
    // (a link the system followed leads elsewhere: not touched)
    if (!left.IsValid() || !entries.IsAt(left.Get(), relative, relative.Length(), L""))
        return;
    if (kept && entries.restoring_) {
        // A killed commit: the earlier file goes back to its name, unless it
        // never left it.
        ScopedHandle current = OpenInFolder(entries.sweepFolder_, stemName, stem,
                                            FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN, 0, &error);
        if (!current.IsValid() || !SameFile(current.Get(), left.Get())) {
            current.Close();
            if (RenameInFolder(left.Get(), entries.sweepFolder_, stemName, true) == 0)
                return;
            entries.keepMark_ = true;  // not all back: the mark stays for the next run
            return;
        }
    }
    DeleteOnClose(left.Get());
}

void StagedEntries::SweepLeftovers()
{
    sweepFolder_ = target_.Get();
    sweepRelative_ = L"";
    ForEachName(sweepFolder_, SweepName, this);
    for (size_t i = 0; i < folderCount_; ++i) {
        if (folders_[i].usable && !folders_[i].created) {
            sweepFolder_ = folders_[i].handle;
            sweepRelative_ = folders_[i].name;
            ForEachName(sweepFolder_, SweepName, this);
        }
    }
}

int StagedEntries::Create(StagedFile& staged) const
{
    FreshNameTail tail;
    FormFreshTail(bits_, false, tail);
    StagedPath fresh;
    if (!fresh.Format(L"%ls%ls", staged.name + staged.leaf, tail.Get()))
        return 0;
    // a new file under a name nobody could know ahead: no link can be there
    DWORD error = 0;
    ScopedHandle created = OpenInFolder(staged.folder, fresh, fresh.Length(),
                                        GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0,
                                        FILE_CREATE, FILE_NON_DIRECTORY_FILE, &error);
    if (!created.IsValid())
        return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? kNameTaken
               : IsOutOfRoom(error)                                         ? -1
                                                                            : 0;
    // The folders are held, yet a Unix process is not bound by that.
    if (!IsAt(created.Get(), staged.name, std::wcslen(staged.name), tail)) {
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

// Names as Windows compares them on a volume (ignoring case), then the
// entries' order: of entries naming one file, the first comes first.
int StagedEntries::CompareNames(const void* a, const void* b)
{
    auto* one = *static_cast<const StagedFile* const*>(a);
    auto* other = *static_cast<const StagedFile* const*>(b);
    int order = CompareStringOrdinal(one->name, -1, other->name, -1, TRUE);
    if (order != CSTR_EQUAL)
        return order == CSTR_LESS_THAN ? -1 : 1;
    return one < other ? -1 : one > other ? 1 : 0;
}

// Of the entries naming one file the first takes it; the others are marked
// before the fresh files are made in parts. Left to the file system, two
// parts could both make their fresh names: a folder that tells case apart
// (Windows' per-folder case sensitivity, and Wine on a Unix folder when two
// threads race) takes both, and both would then claim the one final name.
void StagedEntries::MarkNamesakes()
{
    std::unique_ptr<StagedFile*[]> order(new (std::nothrow) StagedFile*[fileCount_ + 1]);
    if (!order)
        return;  // the file system's refusal still sorts them out below
    for (size_t i = 0; i < fileCount_; ++i)
        order[i] = &files_[i];
    std::qsort(order.get(), fileCount_, sizeof(StagedFile*), CompareNames);
    for (size_t i = 1; i < fileCount_; ++i) {
        StagedFile& later = *order[i];
        if (later.placed == 1 &&
            CompareStringOrdinal(order[i - 1]->name, -1, later.name, -1, TRUE) == CSTR_EQUAL) {
            later.placed = 0;
            later.namesake = true;
        }
    }
}

void StagedEntries::CreateFiles()
{
    SweepLeftovers();
    MarkNamesakes();
    // No two planned entries share a fresh name unless they name the same
    // file and the memory to mark them gave out; then whichever came first
    // in its part took it.
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

bool StagedEntries::KeptName(const StagedFile& staged, StagedPath& out) const
{
    FreshNameTail tail;
    FormFreshTail(bits_, true, tail);
    return out.Format(L"%ls%ls", staged.name + staged.leaf, tail.Get());
}

ScopedHandle StagedEntries::OpenKept(const StagedFile& staged, DWORD access) const
{
    StagedPath keptName;
    DWORD error = 0;
    return KeptName(staged, keptName)
               ? OpenInFolder(staged.folder, keptName, keptName.Length(), access, kShareAll,
                              FILE_OPEN, FILE_NON_DIRECTORY_FILE, &error)
               : ScopedHandle();
}

StagedEntries::AtName StagedEntries::LookAtName(const StagedFile& staged, ScopedHandle* earlier,
                                                DWORD* attributes) const
{
    const wchar_t* leaf = staged.name + staged.leaf;
    DWORD error = 0;
    *earlier = OpenInFolder(staged.folder, leaf, std::wcslen(leaf),
                            FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll, FILE_OPEN, 0,
                            &error);
    BY_HANDLE_FILE_INFORMATION info;
    if (!earlier->IsValid())
        return error == ERROR_FILE_NOT_FOUND ? AtName::kNothing : AtName::kRefused;
    if (!GetFileInformationByHandle(earlier->Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return AtName::kRefused;  // a folder or a link to one
    // a link the system followed (Unix links under Wine): the name alone is
    // replaced, whatever it leads to stays
    if (!IsAt(earlier->Get(), staged.name, std::wcslen(staged.name), L""))
        return AtName::kUnseen;
    *attributes = info.dwFileAttributes;
    return AtName::kFile;
}

ScopedHandle StagedEntries::OpenMovable(const StagedFile& staged, HANDLE earlier,
                                        DWORD attributes) const
{
    // Windows opens a running program or a loaded library for no writing
    // whatever the sharing, nor a file held without write or delete sharing:
    // such a file could be kept but not replaced, and its second name would
    // not go again. Refused before it has one. (A read-only file opens for
    // no writing either; a link at the name is moved, not written.)
    const wchar_t* leaf = staged.name + staged.leaf;
    bool writable = !(attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY));
    DWORD error = 0;
    ScopedHandle movable = OpenInFolder(
        staged.folder, leaf, std::wcslen(leaf),
        DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | (writable ? FILE_WRITE_DATA : 0),
        kShareAll, FILE_OPEN, 0, &error);
    if (movable.IsValid() && !SameFile(movable.Get(), earlier))
        movable.Close();
    return movable;
}

bool StagedEntries::CouldTakeName(const StagedFile& staged) const
{
    ScopedHandle earlier;
    DWORD attributes = 0;
    AtName at = LookAtName(staged, &earlier, &attributes);
    return at == AtName::kNothing || at == AtName::kUnseen ||
           (at == AtName::kFile && OpenMovable(staged, earlier.Get(), attributes).IsValid());
}

bool StagedEntries::TakeName(StagedFile& staged) const
{
    const wchar_t* leaf = staged.name + staged.leaf;
    StagedPath keptName;
    if (!KeptName(staged, keptName))
        return false;
    {
        ScopedHandle earlier;
        DWORD attributes = 0;
        switch (LookAtName(staged, &earlier, &attributes)) {
        case AtName::kRefused:
            return false;
        case AtName::kNothing:
            break;
        case AtName::kUnseen:
            staged.kept = Kept::kUnseen;
            break;
        case AtName::kFile: {
            // Windows replaces no read-only file; the mark comes back if the
            // commit is undone.
            staged.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
            if (staged.readOnly && !MarkReadOnly(earlier.Get(), false))
                return false;
            ScopedHandle movable =
                OpenMovable(staged, earlier.Get(), attributes & ~FILE_ATTRIBUTE_READONLY);
            // A second name keeps the earlier file as it is, times and all; a
            // link at the name is moved aside itself.
            DWORD error = !movable.IsValid() ? ERROR_SHARING_VIOLATION
                          : (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                              ? ERROR_NOT_SUPPORTED
                              : LinkInFolder(movable.Get(), staged.folder, keptName);
            if (error == 0)
                staged.kept = Kept::kLinked;
            else if (movable.IsValid() && HasNoHardLinks(error) &&
                     RenameInFolder(movable.Get(), staged.folder, keptName, false) == 0)
                staged.kept = Kept::kMovedAside;
            else {
                if (staged.readOnly)
                    MarkReadOnly(earlier.Get(), true);
                return false;
            }
            break;
        }
        }
    }  // closed: Windows replaces no file that has an open handle, ours included
    // Refused while the earlier file is open anywhere, runs or is mapped.
    bool replace = staged.kept == Kept::kLinked || staged.kept == Kept::kUnseen;
    if (RenameInFolder(staged.file, staged.folder, leaf, replace) != 0) {
        GiveBack(staged);
        return false;
    }
    staged.replaced = true;
    // the file system may hand the replaced file's creation time on to the
    // name's new file
    RestampCreationTime(staged.file, staged.dosDateTime);
    return true;
}

bool StagedEntries::GiveBack(StagedFile& staged) const
{
    bool replaced = staged.replaced;
    if (replaced) {
        // the new file goes first: its name is free once its handle is closed
        ScopedHandle file(staged.file);
        staged.file = INVALID_HANDLE_VALUE;
        staged.replaced = false;
        if (!DeleteOnClose(file.Get()))
            return false;
    }
    if (staged.kept == Kept::kNothing || staged.kept == Kept::kUnseen)
        return true;
    ScopedHandle kept = OpenKept(staged, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
    if (!kept.IsValid())
        return false;
    bool back = staged.kept == Kept::kLinked && !replaced
                    ? DeleteOnClose(kept.Get())  // the name never lost it
                    : RenameInFolder(kept.Get(), staged.folder, staged.name + staged.leaf, false) == 0;
    if (back && staged.readOnly)
        MarkReadOnly(kept.Get(), true);
    staged.kept = back ? Kept::kNothing : staged.kept;
    return back;
}

void StagedEntries::DropKept(StagedFile& staged) const
{
    if (staged.kept != Kept::kLinked && staged.kept != Kept::kMovedAside)
        return;
    // one Windows will not let go of yet (a running program) goes in the next run
    ScopedHandle kept = OpenKept(staged, DELETE);
    if (kept.IsValid())
        DeleteOnClose(kept.Get());
    staged.kept = Kept::kNothing;
}

void StagedEntries::CommitFiles(void* context, size_t first, size_t end)
{
    StagedEntries& entries = *static_cast<StagedEntries*>(context);
    // Every name is tried, so that the log names each file that refuses.
    for (size_t i = first; i < end; ++i) {
        StagedFile& staged = entries.files_[i];
        if (staged.file != INVALID_HANDLE_VALUE && !entries.TakeName(staged))
            staged.refused = true;
    }
}

int StagedEntries::Commit(FileNotReplaced* report)
{
    bool ready = true;
    for (size_t i = 0; i < fileCount_; ++i) {
        if (!files_[i].namesake && files_[i].file == INVALID_HANDLE_VALUE) {
            files_[i].refused = true;  // no fresh file: it could not be written
            ready = false;
        }
    }
    // so that the log names every file that stands in the way, not the first
    for (size_t i = 0; i < fileCount_ && !ready; ++i) {
        if (files_[i].file != INVALID_HANDLE_VALUE && !CouldTakeName(files_[i]))
            files_[i].refused = true;
    }
    // Set while names change hands: a run killed meanwhile leaves it, and
    // the next run puts the kept earlier files back first.
    DWORD error = 0;
    ScopedHandle mark;
    if (ready)
        mark = OpenInFolder(target_.Get(), kCommitMarkName, std::wcslen(kCommitMarkName),
                            DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, FILE_OPEN_IF,
                            FILE_NON_DIRECTORY_FILE, &error);
    if (ready && mark.IsValid()) {
        // every file takes a name of its own: no two entries share a fresh name
        WorkInParts(CommitFiles, this, fileCount_, kMaxWorkParts);
        bool refused = false;
        for (size_t i = 0; i < fileCount_; ++i)
            refused = refused || files_[i].refused;
        if (!refused) {
            DeleteOnClose(mark.Get());
            mark.Close();  // from here on the new installation stands
            for (size_t i = 0; i < fileCount_; ++i) {
                DropKept(files_[i]);
                ScopedHandle file(files_[i].file);
                files_[i].file = INVALID_HANDLE_VALUE;
            }
            committed_ = true;
            return 0;
        }
    }
    bool restored = true;
    for (size_t i = fileCount_; i-- > 0;)
        restored = GiveBack(files_[i]) && restored;
    // the earlier installation is whole again; otherwise the next run finishes it
    if (mark.IsValid() && restored && !keepMark_)
        DeleteOnClose(mark.Get());
    for (size_t i = 0; i < fileCount_ && report; ++i) {
        StagedPath path;
        if (files_[i].refused && path.JoinPath(targetName_, files_[i].name))
            report->Report(path);
    }
    return -1;
}
