// A program without the product archive among its resources: the payload
// step fails before it writes anything.
#include "install/extract_payload.h"

#include "wine_test_util.h"

#include <gtest/gtest.h>

namespace {

TEST(MissingPayloadTest, ExtractionFailsAndWritesNothing)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring archive = std::wstring(temp) + kTempArchiveName;
    WriteFileBytes(archive, "earlier");
    std::wstring target = FreshFolder(L"nopayload");

    EXPECT_EQ(-1, ExtractPayload(target.c_str(), 0));
    EXPECT_EQ("earlier", ReadFileBytes(archive));
    EXPECT_TRUE(ListFolder(target).empty());
    DeleteFileW(archive.c_str());
}

}  // namespace
