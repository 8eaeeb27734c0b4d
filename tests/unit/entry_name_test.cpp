// Rules on entry names: last part, icon-library names, names that leave the target.
#include "install/entry_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EntryNameTest, LastPart)
{
    struct Case {
        const char* name;
        const char* last;
    } cases[] = {
        {"photar64.exe", "photar64.exe"}, {"Plugins/Icons.dll", "Icons.dll"},
        {"Help/", ""}, {"a\\b\\c.txt", "c.txt"}, {"a/b\\", ""}, {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.last, LastNamePart(c.name)) << c.name;
}

TEST(EntryNameTest, IconLibraryAnywhereInTheName)
{
    for (const char* name : {"Plugins/Icons.dll", "ICONS.DLL", "x/myicons.dll.old", "icons.dllx"})
        EXPECT_TRUE(NamesIconLibrary(name)) << name;
    for (const char* name : {"icons.dl", "Plugins/Icon.dll", "icons_dll", "", "icons .dll"})
        EXPECT_FALSE(NamesIconLibrary(name)) << name;
}

TEST(EntryNameTest, NamesThatStayInsideTheTarget)
{
    for (const char* name : {"a.txt", "Help/", "Plugins/Icons.dll", "a\\b.txt", "..a", "a..",
                             "a/..b/c", "./a.txt", "a/./b", "...a/b"})
        EXPECT_TRUE(IsSafeEntryName(name)) << name;
    for (const char* name : {"../a", "..", "a/../../b", "a\\..\\..\\b", "a/..", "/a", "\\a",
                             "C:a", "C:\\a", "c:/a", "a/b:c", ".. /a", "... /a", "a/. ./b", "../"})
        EXPECT_FALSE(IsSafeEntryName(name)) << name;
}

}  // namespace
