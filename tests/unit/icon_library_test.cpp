// Whether an installed icon library stays: real DLLs with version blocks.
#include "install/icon_library.h"
#include "install/icon_version.h"

#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::wstring IconLibrary(const char* name)
{
    const char* data = std::getenv("PHOTARIUM_TEST_DATA");
    return UnixToWindowsPath(std::string(data ? data : ".") + "/icons/" + name + ".dll");
}

TEST(KeepInstalledIconLibraryTest, VersionSizeAndCompanyDecide)
{
    struct Case {
        const char* library;
        bool keep;
    } cases[] = {
        {"icons_431", true},                // 4.31: newer
        {"icons_500", true},                // 5.00
        {"icons_429", false},               // 4.29: older
        {"icons_410", false},               // 4.10 reads as 4.100, 4100
        {"icons_430_shipped", false},       // 4.30 of 226816 bytes: the shipped file
        {"icons_430_other_size", true},     // 4.30 of another size
        {"icons_429_other_company", true},
        {"icons_429_no_company", true},
        {"icons_429_german_block", true},   // no company under 040904E4
        {"icons_429_upper_case", false},    // "CALVORN" is the maker too
        {"icons_no_version", false},
    };
    for (const Case& c : cases) {
        std::wstring path = IconLibrary(c.library);
        ASSERT_TRUE(FileExists(path)) << c.library;
        EXPECT_EQ(c.keep, KeepInstalledIconLibrary(path.c_str())) << c.library;
    }
    EXPECT_EQ(226816u, ReadFileBytes(IconLibrary("icons_430_shipped")).size());
}

TEST(KeepInstalledIconLibraryTest, MissingOrForeignFileIsOverwrittenAndAnUnreadableOneKept)
{
    std::wstring folder = FreshFolder(L"icons");
    EXPECT_FALSE(KeepInstalledIconLibrary((folder + L"Icons.dll").c_str()));
    WriteFileBytes(folder + L"Icons.dll", "MZ but not a program");
    EXPECT_FALSE(KeepInstalledIconLibrary((folder + L"Icons.dll").c_str()));
    // the decision writes nothing
    EXPECT_EQ(std::vector<std::wstring>{L"Icons.dll"}, ListFolder(folder));

    // an older one whose version cannot be read, held by another program: kept
    ASSERT_TRUE(CopyFileW(IconLibrary("icons_429").c_str(), (folder + L"Icons.dll").c_str(), FALSE));
    HANDLE held = CreateFileW((folder + L"Icons.dll").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(KeepInstalledIconLibrary((folder + L"Icons.dll").c_str()));
    CloseHandle(held);
    EXPECT_FALSE(KeepInstalledIconLibrary((folder + L"Icons.dll").c_str()));
}

TEST(VersionTextNumberTest, SinglePrecisionThousandths)
{
    struct Case {
        const wchar_t* text;
        int number;
    } cases[] = {
        {L"4.30", 4300}, {L"4.31", 4310}, {L"4.29", 4290}, {L"4.100", 4100}, {L"4.3", 4300},
        {L"  4.5", 4500}, {L"5.00", 5000}, {L"0.00", 0}, {L"", 0}, {L"x4.3", 0},
        {L"4.3015", 4301}, {L"65535.6553565535", 65535656},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.number, VersionTextNumber(c.text)) << c.text;
}

TEST(IsMakerCompanyTest, WholeNameWithoutRegardToCase)
{
    EXPECT_TRUE(IsMakerCompany(L"Calvorn"));
    EXPECT_TRUE(IsMakerCompany(L"cALVORN"));
    EXPECT_FALSE(IsMakerCompany(L""));
    EXPECT_FALSE(IsMakerCompany(L"Calvorn GmbH"));
    EXPECT_FALSE(IsMakerCompany(L"Calvor"));
    EXPECT_FALSE(IsMakerCompany(L" Calvorn"));
}

}  // namespace
