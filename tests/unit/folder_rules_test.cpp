#include "wizard/folder_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring AfterBrowse(const std::wstring& chosen)
{
    PathText path;
    EXPECT_TRUE(path.Assign(chosen.c_str()));
    AppendProductFolder(path);
    return path.Get();
}

TEST(AppendProductFolder, ProductFolderIsAddedOnce)
{
    struct Case {
        const wchar_t* chosen;
        const wchar_t* expected;
    } cases[] = {
        {L"D:\\", L"D:\\Photarium\\"},
        {L"D:\\Tools", L"D:\\Tools\\Photarium\\"},
        {L"D:\\Tools\\", L"D:\\Tools\\Photarium\\"},
        {L"D:\\Tools\\PHOTARIUM", L"D:\\Tools\\PHOTARIUM\\"},
        {L"D:\\Tools\\photarium\\", L"D:\\Tools\\photarium\\"},
        {L"D:\\Photarium", L"D:\\Photarium\\"},
        // only the last folder counts
        {L"D:\\Photarium\\Tools", L"D:\\Photarium\\Tools\\Photarium\\"},
        {L"D:\\Tools\\Photarium2", L"D:\\Tools\\Photarium2\\Photarium\\"},
        {L"C:\\Program Files", L"C:\\Program Files\\Photarium\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, AfterBrowse(c.chosen)) << c.chosen;
}

TEST(AppendProductFolder, TooLongPathKeepsItsBackslashOnly)
{
    std::wstring longFolder = L"D:\\" + std::wstring(250, L'a');  // 253 characters
    EXPECT_EQ(longFolder + L"\\", AfterBrowse(longFolder));
    std::wstring fits = L"D:\\" + std::wstring(245, L'a');  // 248 + "\" + "Photarium\" = 259
    EXPECT_EQ(fits + L"\\Photarium\\", AfterBrowse(fits));
}

TEST(IsAcceptableTargetFolder, DriveIsRequired)
{
    struct Case {
        const wchar_t* folder;
        bool accepted;
    } cases[] = {
        {L"", false},
        {L"Photarium", false},
        {L" C:\\Photarium", false},
        {L"\\\\server\\share\\Photarium", false},
        {L"C", false},
        {L"C:", true},
        {L"C:\\", true},
        {L"C:Photarium", true},
        {L"C:\\Photarium ", true},
        {L"D:\\Tools\\Photarium\\", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.accepted, IsAcceptableTargetFolder(c.folder)) << c.folder;
}

TEST(IsAcceptableTargetFolder, PartsMustStayBelow256Characters)
{
    // directory part: everything through the last backslash after the drive
    std::wstring dir255 = L"C:\\" + std::wstring(253, L'd') + L"\\";  // dir part 255
    EXPECT_TRUE(IsAcceptableTargetFolder(dir255.c_str()));
    std::wstring dir256 = L"C:\\" + std::wstring(254, L'd') + L"\\";
    EXPECT_FALSE(IsAcceptableTargetFolder(dir256.c_str()));

    std::wstring name255 = L"C:\\" + std::wstring(255, L'n');
    EXPECT_TRUE(IsAcceptableTargetFolder(name255.c_str()));
    std::wstring name256 = L"C:\\" + std::wstring(256, L'n');
    EXPECT_FALSE(IsAcceptableTargetFolder(name256.c_str()));

    std::wstring ext256 = L"C:\\a" + std::wstring(1, L'.') + std::wstring(255, L'e');
    EXPECT_FALSE(IsAcceptableTargetFolder(ext256.c_str()));
    std::wstring ext255 = L"C:\\a." + std::wstring(254, L'e');
    EXPECT_TRUE(IsAcceptableTargetFolder(ext255.c_str()));
}

}  // namespace
