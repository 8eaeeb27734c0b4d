#include "install/install_log.h"
#include "install/log_text.h"

#include "wine_test_util.h"

#include <gtest/gtest.h>

namespace {

const char kSeparator[] = "------------------------------------------------\r\n";

std::string Entry(const wchar_t* date, const wchar_t* time, const wchar_t* text)
{
    std::string entry(FormatInstallLogEntry(date, time, text, nullptr), '\0');
    EXPECT_EQ(entry.size(), FormatInstallLogEntry(date, time, text, &entry[0]));
    return entry;
}

TEST(InstallLogText, EntryBytes)
{
    std::string entry = Entry(L"08.12.2026", L"09:05:01", L"Ungültig: C:\\A\\");
    EXPECT_EQ(std::string("08.12.2026 - 09:05:01: Ung\xFCltig: C:\\A\\\r\n") + kSeparator, entry);
}

TEST(InstallLogText, LineFeedsAndWideCharacters)
{
    std::string entry = Entry(L"2026\u5E7412", L"23:59:59", L"eins\nzwei \u20AC");
    EXPECT_EQ(std::string("2026?12 - 23:59:59: eins\r\nzwei ?\r\n") + kSeparator, entry);
}

TEST(InstallLogFile, AppendsEntriesInOrder)
{
    std::wstring folder = FreshFolder(L"log");
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(folder.c_str());
    EXPECT_TRUE(WriteInstallLog(L"erste"));
    EXPECT_TRUE(WriteInstallLog(L"zweite\nZeile"));
    SetCurrentDirectoryW(before);

    std::string bytes = ReadFileBytes(folder + L"Photarium_Install.log");
    // two entries, each: "<date> - hh:mm:ss: text\r\n" then the separator
    size_t firstEnd = bytes.find(kSeparator);
    ASSERT_NE(std::string::npos, firstEnd);
    std::string first = bytes.substr(0, firstEnd);
    std::string second = bytes.substr(firstEnd + 50);
    EXPECT_EQ(": erste\r\n", first.substr(first.size() - 9));
    ASSERT_GT(second.size(), 50u);
    EXPECT_EQ(std::string(": zweite\r\nZeile\r\n") + kSeparator,
              second.substr(second.size() - 17 - 50));
    EXPECT_EQ(std::string::npos, bytes.find("\r\r"));
    // " - hh:mm:ss" follows the date
    size_t dash = first.find(" - ");
    ASSERT_NE(std::string::npos, dash);
    EXPECT_EQ(':', first[dash + 5]);
    EXPECT_EQ(':', first[dash + 8]);
    EXPECT_EQ(": erste", first.substr(dash + 11, 7));
}

TEST(InstallLogFile, ReportsAnEntryItCouldNotWriteAndWritesInAnotherFolder)
{
    std::wstring folder = FreshFolder(L"log_blocked");
    std::wstring other = FreshFolder(L"log_other");
    // a folder holding the log's name: the entry cannot go there
    CreateDirectoryW((folder + L"Photarium_Install.log").c_str(), nullptr);
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(folder.c_str());
    EXPECT_FALSE(WriteInstallLog(L"verloren"));
    SetCurrentDirectoryW(before);

    EXPECT_TRUE(WriteInstallLogIn(other.c_str(), L"anderswo"));
    std::string bytes = ReadFileBytes(other + L"Photarium_Install.log");
    EXPECT_EQ(std::string(": anderswo\r\n") + kSeparator, bytes.substr(bytes.size() - 12 - 50));
    EXPECT_FALSE(WriteInstallLogIn(folder.c_str(), L"verloren"));
    // a folder too long for the path is refused, not cut
    EXPECT_FALSE(WriteInstallLogIn((L"C:\\" + std::wstring(600, L'a') + L"\\").c_str(), L"x"));
}

}  // namespace
