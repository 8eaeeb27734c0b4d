// Writing through a handle: every byte goes to the file, in pieces, or the
// failure is reported.
#include "install/planted_links.h"
#include "install/where_names_lead.h"
#include "install/write_in_pieces.h"

#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <string>

TEST(WriteInPiecesTest, WritesEveryByteOrReportsTheFailure)
{
    std::string bytes(3 * kWritePieceBytes + 77, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 13 + i / 4099) & 0xFF);
    const std::wstring path = FreshFolder(L"pieces") + L"copy.bin";
    struct Case {
        DWORD size;
        DWORD access;
        bool written;
    } cases[] = {
        {0, GENERIC_WRITE, true},
        {kWritePieceBytes - 1, GENERIC_WRITE, true},
        {kWritePieceBytes, GENERIC_WRITE, true},
        {static_cast<DWORD>(bytes.size()), GENERIC_WRITE, true},
        {static_cast<DWORD>(bytes.size()), GENERIC_READ, false},  // not open for writing
    };
    for (const Case& c : cases) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
        file = CreateFileW(path.c_str(), c.access, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        EXPECT_EQ(c.written, WriteInPieces(file, bytes.data(), c.size)) << c.size;
        CloseHandle(file);
        if (c.written) {
            EXPECT_EQ(bytes.substr(0, c.size), ReadFileBytes(path)) << c.size;
        }
    }
}

TEST(ReparseTagTest, OnlyNameSurrogatesLeadElsewhere)
{
    // tags as Windows documents them (winnt.h)
    const struct {
        DWORD tag;
        bool elsewhere;
    } rows[] = {
        {0xA000000C, true},   // symbolic link
        {0xA0000003, true},   // junction or mount point
        {0x9000001A, false},  // OneDrive's cloud file, and one of its sixteen kinds
        {0x9000601A, false},
        {0x80000013, false},  // deduplicated
        {0x80000017, false},  // compressed by the overlay filter (WOF)
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.elsewhere, ReparseTagLeadsElsewhere(row.tag)) << std::hex << row.tag;
}

TEST(PlantedLinkTest, OnlyTrustedOwnersLinksAreFollowed)
{
    const struct {
        const wchar_t* sid;
        bool trusted;
    } rows[] = {
        {L"S-1-5-32-544", true},  // Administrators: an elevated administrator's links
        {L"S-1-5-18", true},      // the system
        {L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", true},  // TrustedInstaller
        {L"S-1-5-21-1-2-3-1001", true},  // the running account (given below)
        {L"S-1-5-21-1-2-3-1002", false},  // another user
        {L"S-1-5-32-545", false},         // Users
        {L"S-1-1-0", false},              // Everyone
    };
    PSID running = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidW(L"S-1-5-21-1-2-3-1001", &running));
    for (const auto& row : rows) {
        PSID owner = nullptr;
        ASSERT_TRUE(ConvertStringSidToSidW(row.sid, &owner)) << row.sid;
        EXPECT_EQ(row.trusted, IsTrustedLinkOwner(owner, running)) << row.sid;
        LocalFree(owner);
    }
    LocalFree(running);
    // the folders of an ordinary target are no links
    EXPECT_FALSE(HasPlantedLinkOnTheWay(FreshFolder(L"planted").c_str()));
}
