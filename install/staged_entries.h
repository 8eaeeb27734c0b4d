#pragma once
// Unpacking that leaves an earlier installation alone until every entry is
// written: each file goes under a fresh name beside its final one, and all of
// them take their final names together at the end.

#include "install/entry_name.h"
#include "install/extract_payload.h"
#include "platform/fixed_text.h"
#include "platform/scoped_handle.h"

#include <windows.h>

#include <cstddef>
#include <memory>

// Paths below the target: fresh names may pass MAX_PATH.
constexpr size_t kStagedPathUnits = 1024;

// Fresh names are the final name followed by this and 16 hex digits.
extern const wchar_t kFreshNameMark[];

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
    // Fresh files left in a folder that was there already are removed.
    // 1 when they are fine, 0 when one is a link, a file or cannot be made,
    // -1 when no memory could be had.
    int Folder(const wchar_t* relative, size_t length);

    // Takes the next file entry, relative ("\" separated) below the target,
    // with its folders (made and checked now). 0 when it is taken (whether
    // or not it has a usable place), -1 when the memory gives out or Begin
    // made no room for it.
    int Plan(const wchar_t* relative, unsigned long dosDateTime);

    // Creates a fresh file for every planned entry, new and never through a
    // link, several at a time. Of two entries that name the same file the
    // earlier one gets it, as when they are created one after the other.
    void CreateFiles();

    // The index'th planned entry (from 0, in the order of Plan): 1 with *file
    // open for writing; 0 when the entry has no usable place (it keeps its
    // earlier state and is reported by Commit); -1 when the drive or the
    // memory gave out, or there is no such entry. *file stays this object's.
    int Placed(size_t index, HANDLE* file) const;

    // Gives every fresh file its final name, replacing whatever holds the
    // name (a link itself, never its target). A file that cannot be replaced
    // (held open, a folder in its place) keeps its earlier state and is passed
    // to report with its full path once all names are taken. Returns 0, or
    // -1 when not one file took its name (then nothing has changed).
    int Commit(FileNotReplaced* report);

private:
    using StagedPath = FixedText<kStagedPathUnits>;
    // The handles below are this object's, closed through a ScopedHandle
    // when their time comes; plain in the arrays, which stay cheap to grow.
    struct StagedFile {
        HANDLE file = INVALID_HANDLE_VALUE;  // open until it has its name or is gone
        unsigned long dosDateTime = 0;
        int placed = 0;  // as Placed returns it; kNameTaken until sorted out
        bool replaced = false;
        bool namesake = false;  // a later entry of a name an earlier one took
        wchar_t name[kEntryNameUnits] = {};  // the final name below the target
    };
    struct CheckedFolder {
        HANDLE handle = INVALID_HANDLE_VALUE;  // held until the end
        bool created = false;                  // made by this run
        bool usable = false;
        wchar_t name[kEntryNameUnits] = {};
    };
    bool Grow();
    // Creates the fresh files [first, end) (context: this object).
    static void CreateFresh(void* context, size_t first, size_t end);
    int Create(StagedFile& staged) const;
    // Gives the staged files [first, end) their names (context: this object).
    static void CommitFiles(void* context, size_t first, size_t end);
    bool FullPath(StagedPath& out, const wchar_t* relative, size_t length,
                  const wchar_t* tail) const;

    ScopedHandle target_;
    StagedPath targetName_;   // as the user named it, ending in "\"
    StagedPath targetFinal_;  // "\\?\C:\..." without a final "\"
    size_t volumeUnits_ = 0;       // of targetFinal_ ahead of "\dir"
    unsigned long long bits_ = 0;  // the fresh names' run mark
    std::unique_ptr<StagedFile[]> files_;
    size_t fileCount_ = 0, fileCapacity_ = 0;
    std::unique_ptr<CheckedFolder[]> folders_;
    size_t folderCount_ = 0, folderCapacity_ = 0;
    bool committed_ = false;
};
