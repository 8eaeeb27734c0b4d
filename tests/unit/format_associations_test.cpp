// The format table's extensions, suffixes and icons, and the texts the
// registration builds from the target folder.
#include "register/format_associations.h"
#include "register/registration_texts.h"

#include "registration_checks.h"
#include "zip_builder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const wchar_t* IconName(FormatIcon icon)
{
    switch (icon) {
    case FormatIcon::File: return L"F";
    case FormatIcon::Program0: return L"P0";
    case FormatIcon::Program8: return L"P8";
    case FormatIcon::Program9: return L"P9";
    }
    return L"?";
}

TEST(FormatAssociations, EveryRowInOrder)
{
    int next = 0;
    std::set<std::wstring> suffixes;
    for (int row = 0; row < kFormatCount; ++row) {
        const FormatAssociation& format = kFormatAssociations[row];
        ASSERT_GE(format.extensionCount, 1);
        ASSERT_LE(format.extensionCount, kMaxExtensionsPerFormat);
        for (int i = 0; i < format.extensionCount; ++i, ++next) {
            ASSERT_LT(next, 84);
            const ExpectedExtension& e = kExpectedExtensions[next];
            SCOPED_TRACE(next);
            EXPECT_EQ(e.row, row);
            EXPECT_EQ(std::wstring(e.extension), format.extensions[i].extension);
            EXPECT_EQ(std::wstring(e.suffix), format.extensions[i].suffix);
            EXPECT_EQ(std::wstring(e.icon), IconName(format.icon));
            suffixes.insert(format.extensions[i].suffix);
        }
    }
    EXPECT_EQ(84, next);
    EXPECT_EQ(67u, suffixes.size());
}

TEST(FormatAssociations, ProgramIdentifierAndDescription)
{
    struct Case {
        const wchar_t* suffix;
        const wchar_t* progId;
        const wchar_t* description;
    } cases[] = {
        {L"jpg", L"Photarium.jpg", L"Photarium JPG File"},
        {L"cr2", L"Photarium.cr2", L"Photarium CR2 File"},
        {L"g3", L"Photarium.g3", L"Photarium G3 File"},
        {L"djvu", L"Photarium.djvu", L"Photarium DJVU File"},
        {L"\u00e4x", L"Photarium.\u00e4x", L"Photarium \u00e4X File"},  // only a to z change
    };
    for (const Case& c : cases) {
        PathText text;
        EXPECT_TRUE(FormatProgramIdentifier(c.suffix, text));
        EXPECT_EQ(std::wstring(c.progId), text.Get());
        EXPECT_TRUE(FormatTypeDescription(c.suffix, text));
        EXPECT_EQ(std::wstring(c.description), text.Get());
    }
    // "Photarium." and 250 characters need 261 units; the description takes 31 at most
    PathText text;
    text.Assign(L"old");
    EXPECT_FALSE(FormatProgramIdentifier(std::wstring(250, L's').c_str(), text));
    EXPECT_EQ(L'\0', text[0]);
    text.Assign(L"old");
    EXPECT_FALSE(FormatTypeDescription(std::wstring(32, L's').c_str(), text));
    EXPECT_EQ(L'\0', text[0]);
}

TEST(FormatAssociations, AlwaysAssociatedExtensions)
{
    for (const wchar_t* yes : {L"jpg", L"JPG", L"Jpg", L"png", L"pNg", L"tif", L"TIF"})
        EXPECT_TRUE(IsAlwaysAssociatedExtension(yes)) << std::wstring(yes).size();
    for (const wchar_t* no : {L"jpeg", L"jpe", L"tiff", L"jp", L"", L"bmp", L"jpgx", L"j\u00f6g"})
        EXPECT_FALSE(IsAlwaysAssociatedExtension(no));
}

TEST(RegistrationTexts, SameTextsForEverySpellingOfTheFolder)
{
    for (const wchar_t* folder :
         {L"C:\\Program Files\\Photarium", L"C:\\Program Files\\Photarium\\",
          L"  C:\\Program Files\\Photarium  "}) {
        RegistrationTexts texts;
        ASSERT_TRUE(BuildRegistrationTexts(InstallFolder(folder), texts));
        EXPECT_STREQ(L"C:\\Program Files\\Photarium\\", texts.installFolder);
        EXPECT_STREQ(L"C:\\Program Files\\Photarium\\photar64.exe", texts.programPath);
        EXPECT_STREQ(L"\"C:\\Program Files\\Photarium\\photar64.exe\" \"%1\"", texts.openCommand);
        EXPECT_STREQ(L"\"C:\\Program Files\\Photarium\\photar64.exe\" \"%1\" /thumbs",
                     texts.thumbsCommand);
        EXPECT_STREQ(L"C:\\Program Files\\Photarium\\photar64.exe,0", texts.programIcon);
    }
}

TEST(RegistrationTexts, LongestFolderFitsEveryTextAndProductPath)
{
    // every path of the product fits below it
    std::vector<ArchiveEntry> entries = ProductEntries();
    ASSERT_FALSE(entries.empty());
    for (const ArchiveEntry& entry : entries)
        EXPECT_LE(kMaxInstallFolderChars + entry.name.size(), 259u) << entry.name;
    // "C:\" + name: the longest folder without its final backslash
    std::wstring fits = L"C:\\" + std::wstring(kMaxInstallFolderChars - 4, L'a');
    struct Case {
        std::wstring folder;
        bool fits;
    } cases[] = {
        {fits, true},
        {fits + L"\\", true},
        {L"   " + fits + L"   ", true},  // blanks do not count
        {fits + L"b", false},            // one more, with its backslash
        {fits + L"b\\", false},
        {L"", false},
        {L"    ", false},
        {std::wstring(259, L'x'), false},
        {L"Photarium", false},  // relative: nothing to register
        {L"C:\\", false},       // a root would get the product spilled into it
        {L"\\\\server\\share", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.size());
        InstallFolder folder(c.folder.c_str());
        EXPECT_EQ(c.fits, folder.Usable());
        RegistrationTexts texts;
        EXPECT_EQ(c.fits, BuildRegistrationTexts(folder, texts));
        if (!c.fits) {
            EXPECT_TRUE(texts.installFolder.Empty());
            EXPECT_TRUE(texts.openCommand.Empty());
            EXPECT_TRUE(texts.thumbsCommand.Empty());
        } else {
            EXPECT_EQ(kMaxInstallFolderChars, texts.installFolder.Length());
        }
    }
}

}  // namespace
