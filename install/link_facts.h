#pragma once
// What the walk to the target folder reads of one folder on its way. A file
// of its own, so that a build of the tests can give a folder the facts of a
// junction, which Wine cannot make (tests/fixtures/forced_link.cpp).

#include <windows.h>

struct LinkFacts {
    bool leadsElsewhere;  // a junction, mount point or symbolic link
    bool ownerRead;       // owner holds the folder's owner
    BYTE owner[SECURITY_MAX_SID_SIZE];
};

// The facts of the folder at path, open as itself (not what it leads to)
// with READ_CONTROL and FILE_READ_ATTRIBUTES. A folder whose information
// cannot be read leads nowhere.
LinkFacts ReadLinkFacts(HANDLE folder, const wchar_t* path);
