#include "platform/folder_path.h"

#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Records what MakeFolderPath asks of the file system.
class FakeFolders : public FolderSystem {
public:
    std::set<std::wstring> existing;
    std::vector<std::wstring> created;
    bool CanEnter(const wchar_t* path) override { return existing.count(path) > 0; }
    void CreateOne(const wchar_t* path) override
    {
        created.push_back(path);
        existing.insert(std::wstring(path) + L"\\");
    }
};

std::wstring Trimmed(const std::wstring& text)
{
    wchar_t buffer[260];
    wcscpy(buffer, text.c_str());
    TrimSpaces(buffer);
    return buffer;
}

TEST(TrimSpacesTest, BothEnds)
{
    EXPECT_EQ(L"C:\\A B", Trimmed(L"  C:\\A B  "));
    EXPECT_EQ(L"", Trimmed(L"     "));
    EXPECT_EQ(L"C:\\A", Trimmed(L"C:\\A"));
    EXPECT_EQ(L"a\tb", Trimmed(L" a\tb"));  // only U+0020 counts
}

TEST(TrimSpacesTest, FullBufferIsTrimmed)
{
    std::wstring text = L"  " + std::wstring(257, L'x');  // 259 characters
    EXPECT_EQ(std::wstring(257, L'x'), Trimmed(text));
}

TEST(MakeFolderPathText, ExistingFolderCreatesNothing)
{
    FakeFolders fs;
    fs.existing.insert(L"C:\\Tools\\");
    PathText path(L" C:\\Tools ");
    EXPECT_EQ(1, MakeFolderPath(path, fs));
    EXPECT_STREQ(L"C:\\Tools\\", path);
    EXPECT_TRUE(fs.created.empty());
}

TEST(MakeFolderPathText, NestedCreatesEachLevel)
{
    FakeFolders fs;
    PathText path(L"C:\\A\\B\\C");
    EXPECT_EQ(1, MakeFolderPath(path, fs));
    EXPECT_STREQ(L"C:\\A\\B\\C\\", path);
    std::vector<std::wstring> expected = {L"C:", L"C:\\A", L"C:\\A\\B", L"C:\\A\\B\\C"};
    EXPECT_EQ(expected, fs.created);
}

TEST(MakeFolderPathText, ComponentWithTrailingSpaceLosesIt)
{
    FakeFolders fs;
    PathText path(L"C:\\Photo \\Sub");
    EXPECT_EQ(1, MakeFolderPath(path, fs));
    EXPECT_STREQ(L"C:\\Photo\\Sub\\", path);
    EXPECT_EQ(L"C:\\Photo", fs.created[1]);
}

TEST(MakeFolderPathText, UncKeepsPrefix)
{
    FakeFolders fs;
    PathText path(L"\\\\server\\share\\Photarium");
    MakeFolderPath(path, fs);
    EXPECT_STREQ(L"\\\\server\\share\\Photarium\\", path);
    std::vector<std::wstring> expected = {L"\\\\server", L"\\\\server\\share",
                                          L"\\\\server\\share\\Photarium"};
    EXPECT_EQ(expected, fs.created);
}

TEST(MakeFolderPathText, LeadingBackslashNamesRootOfCurrentDrive)
{
    FakeFolders fs;
    PathText path(L"\\Einstellungen\\Photarium");
    MakeFolderPath(path, fs);
    EXPECT_STREQ(L"\\Einstellungen\\Photarium\\", path);
    std::vector<std::wstring> expected = {L"", L"\\Einstellungen", L"\\Einstellungen\\Photarium"};
    EXPECT_EQ(expected, fs.created);
}

TEST(MakeFolderPathText, EmptyAndBlankFail)
{
    FakeFolders fs;
    PathText empty(L"");
    EXPECT_EQ(0, MakeFolderPath(empty, fs));
    PathText blank(L"    ");
    EXPECT_EQ(0, MakeFolderPath(blank, fs));
    EXPECT_STREQ(L"", blank);
    EXPECT_TRUE(fs.created.empty());
}

TEST(MakeFolderPathText, LongPathStaysInsideItsBuffer)
{
    FakeFolders fs;
    PathText path;
    std::wstring text = L"C:\\" + std::wstring(256, L'y');  // 259 characters
    path.Assign(text.c_str());
    EXPECT_EQ(0, MakeFolderPath(path, fs));  // no room for the final backslash
    EXPECT_EQ(text, std::wstring(path.Get()));
}

// The real file system under Wine.
TEST(MakeFolderPathWin32, CreatesNestedRelativeAndKeepsCurrentFolder)
{
    std::wstring root = FreshFolder(L"mkpath");
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);

    PathText nested((root + L"one\\two \\three").c_str());
    EXPECT_EQ(1, MakeFolderPath(nested));
    EXPECT_EQ(root + L"one\\two\\three\\", std::wstring(nested.Get()));
    EXPECT_TRUE(FolderExists(root + L"one\\two\\three"));
    EXPECT_FALSE(FolderExists(root + L"one\\two \\"));

    PathText again(nested.Get());
    EXPECT_EQ(1, MakeFolderPath(again));

    SetCurrentDirectoryW(root.c_str());
    PathText relative(L"rel\\sub");
    EXPECT_EQ(1, MakeFolderPath(relative));
    EXPECT_STREQ(L"rel\\sub\\", relative);
    EXPECT_TRUE(FolderExists(root + L"rel\\sub"));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(root, std::wstring(current) + L"\\");
    SetCurrentDirectoryW(before);
}

TEST(MakeFolderPathWin32, MissingDriveFails)
{
    PathText path(L"Q:\\Nowhere\\Photarium");
    EXPECT_EQ(0, MakeFolderPath(path));
    EXPECT_STREQ(L"Q:\\Nowhere\\Photarium\\", path);
}

TEST(IsFolderBelowRootTest, AbsoluteAndNotARoot)
{
    for (const wchar_t* below : {L"C:\\Photarium", L"C:/Fwd/Slash", L"\\\\server\\share\\A\\", L"C:\\A\\..\\B",
                                 L"\\\\?\\C:\\Ph", L"\\\\.\\d:\\Ph\\", L"\\\\?\\unc\\srv\\share\\Ph", L"\\\\.\\UNC\\srv\\share\\Ph"})
        EXPECT_TRUE(IsFolderBelowRoot(below)) << below;
    for (const wchar_t* root : {L"C:", L"C:\\", L"C:\\ \\.\\", L"C:\\A\\..", L"\\\\server\\share\\",
                                L"\\\\server", L"rel\\dir", L"C:Photarium", L"\\Photarium", L"", L"\\\\?\\UNC\\srv\\share",
                                L"\\\\?\\UNC\\srv", L"\\\\?\\C:\\", L"\\\\.\\C:\\A\\..", L"\\\\?\\C:Ph", L"\\\\?\\UNCX\\srv\\share\\Ph",
                                L"\\\\?\\Volume{0b1e2d3c-0000-0000-0000-000000000000}\\Ph", L"\\\\.\\PhysicalDrive0\\Ph",
                                L"\\\\.\\pipe\\Ph", L"\\\\?\\", L"\\\\.", L"\\\\?\\1:\\Ph"})
        EXPECT_FALSE(IsFolderBelowRoot(root)) << root;
}

}  // namespace
