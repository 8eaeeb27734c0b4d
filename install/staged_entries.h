#pragma once
// Unpacking that leaves an earlier installation alone until every entry is
// written: each file goes under a fresh name beside its final one, and all of
// them take their final names together at the end.

#include "install/entry_name.h"
#include "install/file_not_replaced.h"
#include "platform/fixed_text.h"
#include "platform/scoped_handle.h"

#include <windows.h>

#include <cstddef>
#include <memory>

// Paths below the target: fresh names may pass MAX_PATH.
constexpr size_t kStagedPathUnits = 1024;
// more entries than any product has: an archive claiming more is refused
constexpr unsigned long long kMostEntries = 0x100000;

// Fresh names are the final name followed by this and 16 hex digits; the
// earlier file a name had is kept during the commit under the fresh name
// with kKeptNameTail after it.
extern const wchar_t kFreshNameMark[];
extern const wchar_t kKeptNameTail[];
// In the target folder while names change hands: the next run puts the
// kept earlier files back before it does anything else.
extern const wchar_t kCommitMarkName[];

// True for a name of that form (what a run that was killed leaves behind).
bool IsFreshName(const wchar_t* name);

class StagedEntries {
public:
    StagedEntries() = default;
    // Whatever was not committed goes: the fresh files, and the folders this
    // run made when they are empty again.
    ~StagedEntries();
    StagedEntries(const StagedEntries&) = delete;
    StagedEntries& operator=(const StagedEntries&) = delete;

    // Opens targetFolder (absolute, as the user named it) and makes room for
    // up to files file entries. False when the folder cannot be opened or no
    // memory can be had.
    bool Begin(const wchar_t* targetFolder, unsigned long long files);

    // Makes the folder relative (a "\" separated name below the target; a
    // final "\" is allowed) and every folder above it, each a real folder
    // inside the target, held open so that nobody swaps it for a link.
    // 1 when they are fine, 0 when one is a link, a file or cannot be made,
    // -1 when no memory could be had.
    int Folder(const wchar_t* relative, size_t length);

    // Takes the next file entry, relative ("\" separated) below the target,
    // with its folders (made and checked now). 0 when it is taken (whether
    // or not it has a usable place), -1 when the memory gives out or Begin
    // made no room for it.
    int Plan(const wchar_t* relative, unsigned long dosDateTime);

    // Clears what a killed run left at the planned entries' names, then
    // creates a fresh file for every planned entry, new and never through a
    // link, several at a time. Of two entries that name the same file the
    // earlier one gets it, as when they are created one after the other.
    void CreateFiles();

    // The index'th planned entry (from 0, in the order of Plan): 1 with *file
    // open for writing; 0 when the entry has no usable place (Commit then
    // refuses to give any file its name); -1 when the drive or the
    // memory gave out, or there is no such entry. *file stays this object's.
    int Placed(size_t index, HANDLE* file) const;

    // Gives every fresh file its final name, all or none. The earlier file
    // at a name is kept under a second name (a hard link, or the file itself
    // moved aside where the volume has no hard links) until every name is
    // taken, then goes; a link at the name is moved aside, never followed.
    // When one entry has no fresh file or cannot take its name (held open,
    // running, mapped, a folder or a folder link in its place, its folder a
    // link or a file), every name taken gets its earlier file back, each
    // such entry is passed to report with its full path, and -1 is returned.
    // 0 when all took their names.
    int Commit(FileNotReplaced* report);

private:
    using StagedPath = FixedText<kStagedPathUnits>;
    // The handles below are this object's, closed through a ScopedHandle
    // when their time comes; plain in the arrays, which stay cheap to grow.
    // How the earlier file at a name is kept while the names change hands.
    enum class Kept { kNothing, kLinked, kMovedAside, kUnseen };
    struct StagedFile {
        HANDLE file = INVALID_HANDLE_VALUE;  // open until the commit is over or it is gone
        HANDLE folder = INVALID_HANDLE_VALUE;  // its folder's, not owned
        unsigned long dosDateTime = 0;
        int placed = 0;  // as Placed returns it; kNameTaken until sorted out
        Kept kept = Kept::kNothing;
        bool replaced = false;
        bool refused = false;   // could not take its name
        bool readOnly = false;  // the earlier file was marked so
        bool namesake = false;  // a later entry of a name an earlier one took
        size_t leaf = 0;        // where the last part of name starts
        wchar_t name[kEntryNameUnits] = {};  // the final name below the target
    };
    struct CheckedFolder {
        HANDLE handle = INVALID_HANDLE_VALUE;  // held until the end
        bool created = false;                  // made by this run
        bool usable = false;
        wchar_t name[kEntryNameUnits] = {};
    };
    bool Grow();
    int CheckFolders(const wchar_t* relative, size_t length, HANDLE* deepest);
    // True when handle is at the relative path (length units, then tail)
    // below the target, as the volume names it.
    bool IsAt(HANDLE handle, const wchar_t* relative, size_t length, const wchar_t* tail) const;
    // Removes (or, after a killed commit, puts back) what an earlier run
    // left at the names of this run's entries.
    void SweepLeftovers();
    static void SweepName(void* context, const wchar_t* name, size_t length, DWORD attributes);
    // Creates the fresh files [first, end) (context: this object).
    static void CreateFresh(void* context, size_t first, size_t end);
    static int CompareNames(const void* a, const void* b);
    void MarkNamesakes();
    int Create(StagedFile& staged) const;
    // Gives the staged files [first, end) their names (context: this object).
    static void CommitFiles(void* context, size_t first, size_t end);
    // What stands at an entry's final name before it changes hands.
    enum class AtName { kNothing, kFile, kUnseen, kRefused };
    AtName LookAtName(const StagedFile& staged, ScopedHandle* earlier, DWORD* attributes) const;
    ScopedHandle OpenMovable(const StagedFile& staged, HANDLE earlier, DWORD attributes) const;
    bool CouldTakeName(const StagedFile& staged) const;
    bool TakeName(StagedFile& staged) const;
    // The name the earlier file is kept under while names change hands.
    bool KeptName(const StagedFile& staged, StagedPath& out) const;
    ScopedHandle OpenKept(const StagedFile& staged, DWORD access) const;
    bool GiveBack(StagedFile& staged) const;
    void DropKept(StagedFile& staged) const;

    ScopedHandle target_;
    StagedPath targetName_;  // as the user named it, ending in "\"
    StagedPath targetBase_;  // the target's path below its volume
    unsigned long long bits_ = 0;  // the fresh names' run mark
    bool restoring_ = false;       // a commit was killed: its kept files go back
    bool keepMark_ = false;        // and not all of them could
    // the folder a sweep is in, and the entries there
    HANDLE sweepFolder_ = INVALID_HANDLE_VALUE;
    const wchar_t* sweepRelative_ = L"";
    std::unique_ptr<StagedFile[]> files_;
    size_t fileCount_ = 0, fileCapacity_ = 0;
    std::unique_ptr<CheckedFolder[]> folders_;
    size_t folderCount_ = 0, folderCapacity_ = 0;
    bool committed_ = false;
};
