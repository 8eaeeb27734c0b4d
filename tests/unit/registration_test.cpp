// Application registration, file-type associations and shortcuts, called
// directly under Wine: the real registry and real shell links. The whole
// installation's data is checked by the end-to-end registration tests; these
// cover what a command line cannot reach.
#include "register/application_registration.h"
#include "register/file_types.h"
#include "register/shortcuts.h"

#include "registration_checks.h"
#include "shortcut_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <set>

namespace {

const wchar_t kFolder[] = L"C:\\Program Files\\Photarium\\";
const wchar_t kProgram[] = L"C:\\Program Files\\Photarium\\photar64.exe";
const wchar_t kOpen[] = L"\"C:\\Program Files\\Photarium\\photar64.exe\" \"%1\"";
class Registration : public ::testing::Test {
protected:
    void SetUp() override { ResetRegistrationState(); }
    int none_[62] = {};
};

TEST_F(Registration, FolderVerbsOnlyWithTheThumbnailsShortcut)
{
    RegisterApplication(0, InstallFolder(kFolder), 0, 0, 0, 0, none_);
    ExpectApplicationRows(kFolder, false);
    ExpectDesktopShortcuts(kFolder, false, false, false);
}

TEST_F(Registration, RegisteredApplicationsIsNeverCreated)
{
    DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications");
    RegisterApplication(0, InstallFolder(kFolder), 0, 0, 0, 0, none_);
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications"));
    ExpectRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Photarium\\Capabilities\\FileAssociations",
                  L".jpg", L"Photarium.jpg");
}

TEST_F(Registration, SelectedRowsGetTheirExtensionsAndUserChoices)
{
    int flags[62] = {};
    flags[2] = flags[52] = flags[0] = 1;
    RegisterApplication(0, InstallFolder(kFolder), 0, 0, 0, 0, flags);
    ExpectFormatRows(kFolder, {0, 2, 52});
    // spelled out: the edge cases of rows 2 and 52
    ExpectRegText(HKEY_CLASSES_ROOT, L".dib", L"", L"Photarium.bmp");
    ExpectRegText(HKEY_CURRENT_USER, UserChoice(L"dib"), L"Progid", L"Photarium.bmp");
    ExpectRegText(HKEY_CLASSES_ROOT, L"Photarium.bmp", L"", L"Photarium BMP File");
    ExpectRegText(HKEY_CLASSES_ROOT, L".mpeg", L"", L"Photarium.mpg");
    ExpectRegText(HKEY_CLASSES_ROOT, L".mpe", L"", L"Photarium.mpe");
    ExpectRegText(HKEY_CLASSES_ROOT, L"Photarium.mpe\\DefaultIcon", L"",
                  L"C:\\Program Files\\Photarium\\photar64.exe,9");
    ExpectRegText(HKEY_CLASSES_ROOT, L"Photarium.ani\\DefaultIcon", L"", L"%1");
    // associate 0: the sequence runs, no store-app marks
    ExpectStoreAppMarks(false);
}

TEST_F(Registration, UserChoiceThatCannotBeDeletedKeepsItsOtherValues)
{
    // a subkey makes RegDeleteKeyW fail: the existing key is opened instead
    SetRegText(HKEY_CURRENT_USER, UserChoice(L"bmp") + L"\\Sub", L"", L"x");
    RegisterApplication(0, InstallFolder(kFolder), 0, 0, 0, 0, none_);  // creates the capability key
    AssociateExtension(L"bmp", L"bmp", kOpen, L"%1", 1);
    ExpectRegText(HKEY_CURRENT_USER, UserChoice(L"bmp"), L"Progid", L"Photarium.bmp");
    ExpectRegText(HKEY_CURRENT_USER, UserChoice(L"bmp"), L"Hash", L"alt");
    DeleteRegTree(HKEY_CURRENT_USER, UserChoice(L"bmp"));
}

TEST_F(Registration, ForcedExtensionsIgnoreCase)
{
    // no capability key: nothing is written there, and the key is not created
    AssociateExtension(L"JPG", L"jpg", kOpen, L"%1", 0);
    AssociateExtension(L"jpeg", L"jpg", kOpen, L"%1", 0);
    AssociateExtension(L"Tiff", L"tif", kOpen, L"%1", 0);
    ExpectRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.jpg", L"", L"Photarium.jpg");
    ExpectRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.jpeg", L"", ForeignProgId(L"jpeg"));
    ExpectRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.tiff", L"", ForeignProgId(L"tiff"));
    ExpectRegText(HKEY_CURRENT_USER, UserChoice(L"jpg"), L"Progid", ForeignProgId(L"jpg"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Photarium"));
}

TEST_F(Registration, StoreAppMarks)
{
    HideStoreAppHandlers();
    ExpectStoreAppMarks(true);
}

TEST_F(Registration, TooLongFolderWritesNothing)
{
    std::wstring folder = L"C:\\" + std::wstring(230, L'a');  // 234 with the backslash
    EXPECT_EQ(1, RegisterApplication(1, InstallFolder(folder.c_str()), 1, 1, 1, 0, none_));
    ExpectNothingRegistered();
}

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override { ResetRegistrationState(); }
};

TEST_F(Shortcuts, DesktopShortcutFieldsInEitherScope)
{
    for (int allUsers : {0, 1}) {
        EXPECT_EQ(1, CreateDesktopShortcut(kProgram, L"Photarium 64 Thumbnails.lnk", kProgram, 7,
                                           L"Photarium - Thumbnails", L"/thumbs", allUsers));
        EXPECT_EQ(1, CreateDesktopShortcut(kProgram, L"Photarium 64.lnk", nullptr, 0,
                                           L"Photarium 64 - Bildbetrachter", nullptr, allUsers));
        ExpectDesktopShortcuts(kFolder, allUsers != 0, true, true);
    }
}

TEST_F(Shortcuts, ShortcutInMissingFolderFails)
{
    EXPECT_EQ(0, CreateShortcutInFolder(L"C:\\ptest\\gibt_es_nicht\\", L"x.lnk", kProgram,
                                        nullptr, nullptr, 0));
    std::wstring folder = FreshFolder(L"links");
    EXPECT_EQ(1, CreateShortcutInFolder(folder.c_str(), L"x.lnk", kProgram, L"/a b", kProgram, 3));
    ShortcutFields fields;
    ASSERT_TRUE(ReadShortcut(folder + L"x.lnk", &fields));
    EXPECT_EQ(kProgram, fields.target);
    EXPECT_EQ(L"/a b", fields.arguments);
    EXPECT_EQ(kProgram, fields.iconFile);
    EXPECT_EQ(3, fields.iconIndex);
    EXPECT_EQ(L"", fields.description);
}

TEST_F(Shortcuts, GroupRemovesOlderVersionsOfItsOwnScopeOnly)
{
    for (bool allUsers : {false, true}) {
        std::wstring group = GroupFolder(allUsers);
        CreateDirectoryW(group.c_str(), nullptr);
        WriteFileBytes(group + L"Photarium 64 4.52.lnk", "alt");
        WriteFileBytes(group + L"Photarium 64 4.51.lnk", "alt");
    }
    EXPECT_EQ(1, CreateStartMenuGroup(kFolder, 0));
    ExpectGroupShortcuts(kFolder, false, !SystemIsWindows8OrLater());
    EXPECT_TRUE(FileExists(GroupFolder(true) + L"Photarium 64 4.52.lnk"));
    EXPECT_TRUE(FileExists(GroupFolder(true) + L"Photarium 64 4.51.lnk"));

    EXPECT_EQ(1, CreateStartMenuGroup(kFolder, 1));
    ExpectGroupShortcuts(kFolder, true, !SystemIsWindows8OrLater());
}

}  // namespace
