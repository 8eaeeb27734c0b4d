#pragma once
// An item list the shell handed out (SHBrowseForFolderW,
// SHGetSpecialFolderLocation), freed when its owner goes. The shell allocates
// them with the COM task allocator; CoTaskMemFree is the free it names.

#include <objbase.h>
#include <shlobj.h>

class ScopedItemList {
public:
    explicit ScopedItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
    ~ScopedItemList() { CoTaskMemFree(list_); }
    ScopedItemList(const ScopedItemList&) = delete;
    ScopedItemList& operator=(const ScopedItemList&) = delete;
    PIDLIST_ABSOLUTE Get() const { return list_; }

private:
    PIDLIST_ABSOLUTE list_;
};
