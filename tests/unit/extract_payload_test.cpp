// The payload step with the archive this test program carries as "ZIP" 212.
#include "install/extract_payload.h"

#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class ExtractPayloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryW(MAX_PATH, savedFolder_);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        archive_ = std::wstring(temp) + kTempArchiveName;
        DeleteFileW(archive_.c_str());
        target_ = FreshFolder(L"payload");
    }
    void TearDown() override
    {
        SetCurrentDirectoryW(savedFolder_);
        DeleteFileW(archive_.c_str());
    }
    std::wstring CurrentFolder()
    {
        wchar_t folder[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, folder);
        return std::wstring(folder) + L"\\";
    }

    wchar_t savedFolder_[MAX_PATH] = {};
    std::wstring archive_, target_;
};

TEST_F(ExtractPayloadTest, UnpacksAndRemovesTheTemporaryArchive)
{
    WriteFileBytes(archive_, "left over from an earlier run");
    EXPECT_EQ(0, ExtractPayload(target_.c_str(), 0));
    EXPECT_FALSE(FileExists(archive_));
    EXPECT_EQ(target_, CurrentFolder());
    EXPECT_EQ("\x89PNG", ReadFileBytes(target_ + L"Toolbars\\Quartz_16.png").substr(0, 4));
    EXPECT_EQ("MZ", ReadFileBytes(target_ + L"photar64.exe").substr(0, 2));
    EXPECT_EQ(226816u, ReadFileBytes(target_ + L"Plugins\\Icons.dll").size());
}

TEST_F(ExtractPayloadTest, KeepFlagLeavesTheInstalledIconLibrary)
{
    CreateDirectoryW((target_ + L"Plugins").c_str(), nullptr);
    WriteFileBytes(target_ + L"Plugins\\Icons.dll", "installed");
    EXPECT_EQ(0, ExtractPayload(target_.c_str(), 1));
    EXPECT_EQ("installed", ReadFileBytes(target_ + L"Plugins\\Icons.dll"));
    EXPECT_TRUE(FileExists(target_ + L"Languages\\DEUTSCH.DLL"));
}

TEST_F(ExtractPayloadTest, TemporaryNameHeldByAnotherProgramGoesUnderAnotherName)
{
    // held open for reading and writing, sharing nothing: neither removed nor replaced
    WriteFileBytes(archive_, "in use elsewhere");
    HANDLE other = CreateFileW(archive_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    int result = ExtractPayload(target_.c_str(), 0);
    CloseHandle(other);
    EXPECT_EQ(0, result);
    EXPECT_EQ("in use elsewhere", ReadFileBytes(archive_));
    EXPECT_EQ("MZ", ReadFileBytes(target_ + L"photar64.exe").substr(0, 2));
}

TEST_F(ExtractPayloadTest, FolderThatCannotBeEnteredStillRemovesTheArchive)
{
    std::wstring missing = target_ + L"fehlt\\";
    EXPECT_EQ(-1, ExtractPayload(missing.c_str(), 0));
    EXPECT_FALSE(FileExists(archive_));
    EXPECT_FALSE(FolderExists(missing));
}

}  // namespace
