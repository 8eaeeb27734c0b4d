// The file functions minizip reads the archive through, from the resource's
// bytes in memory: reads of any size at any position give those bytes, and
// each stream has a position of its own.
#include "install/archive_in_memory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ArchiveInMemoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        content_.resize(200000 + 123);
        for (size_t i = 0; i < content_.size(); ++i)
            content_[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        source_ = {content_.data(), content_.size()};
        FillMemoryFileFunctions(&functions_, &source_);
        stream_ = Open();
        ASSERT_NE(nullptr, stream_);
    }
    void TearDown() override
    {
        if (stream_)
            functions_.zclose_file(functions_.opaque, stream_);
    }
    voidpf Open(int mode = ZLIB_FILEFUNC_MODE_READ | ZLIB_FILEFUNC_MODE_EXISTING)
    {
        return functions_.zopen64_file(functions_.opaque, "archive", mode);
    }

    std::string Read(unsigned long size)
    {
        std::string bytes(size, '\0');
        unsigned long read = functions_.zread_file(functions_.opaque, stream_, &bytes[0], size);
        bytes.resize(read);
        return bytes;
    }
    long Seek(unsigned long long offset, int origin)
    {
        return functions_.zseek64_file(functions_.opaque, stream_, offset, origin);
    }
    unsigned long long Tell() { return functions_.ztell64_file(functions_.opaque, stream_); }

    std::string content_;
    ArchiveInMemory source_ = {};
    zlib_filefunc64_def functions_ = {};
    voidpf stream_ = nullptr;
};

TEST_F(ArchiveInMemoryTest, ReadsOfEverySizeGiveTheBytes)
{
    // byte-sized header reads, larger ones, and a read that runs past the end
    std::string got;
    for (int i = 0; i < 30; ++i)
        got += Read(1);
    got += Read(3000);
    got += Read(3000);
    got += Read(100000);
    EXPECT_EQ(30u + 3000u + 3000u + 100000u, Tell());
    got += Read(100000);
    EXPECT_EQ(content_.size(), got.size());
    EXPECT_TRUE(got == content_);
    EXPECT_EQ(content_.size(), Tell());
    EXPECT_EQ("", Read(10));
    EXPECT_EQ(0, functions_.zerror_file(functions_.opaque, stream_));
}

TEST_F(ArchiveInMemoryTest, SeeksFromStartCurrentAndEnd)
{
    struct Step {
        unsigned long long offset;
        int origin;
        unsigned long long expected;
    };
    const unsigned long long size = content_.size();
    const Step steps[] = {
        {70000, ZLIB_FILEFUNC_SEEK_SET, 70000},
        {5, ZLIB_FILEFUNC_SEEK_SET, 5},
        {4078, ZLIB_FILEFUNC_SEEK_CUR, 4095},  // 5 + 12 read + 4078
        {0, ZLIB_FILEFUNC_SEEK_END, size},
        {static_cast<unsigned long long>(-22), ZLIB_FILEFUNC_SEEK_END, size - 22},
        {0, ZLIB_FILEFUNC_SEEK_SET, 0},
    };
    for (const Step& step : steps) {
        ASSERT_EQ(0, Seek(step.offset, step.origin)) << step.expected;
        EXPECT_EQ(step.expected, Tell());
        std::string bytes = Read(12);
        size_t expectedBytes = step.expected + 12 <= size ? 12 : size - step.expected;
        EXPECT_EQ(content_.substr(step.expected, expectedBytes), bytes) << step.expected;
    }
    // before the start is refused and leaves the position alone
    EXPECT_EQ(-1, Seek(static_cast<unsigned long long>(-1), ZLIB_FILEFUNC_SEEK_SET));
    EXPECT_EQ(12u, Tell());
}

TEST_F(ArchiveInMemoryTest, EachStreamHasItsOwnPositionAndNoneWrites)
{
    EXPECT_EQ(0, Seek(1000, ZLIB_FILEFUNC_SEEK_SET));
    voidpf second = Open();
    ASSERT_NE(nullptr, second);
    std::string bytes(8, '\0');
    EXPECT_EQ(8u, functions_.zread_file(functions_.opaque, second, &bytes[0], 8));
    EXPECT_EQ(content_.substr(0, 8), bytes);
    functions_.zclose_file(functions_.opaque, second);
    EXPECT_EQ(content_.substr(1000, 8), Read(8));
    EXPECT_EQ(nullptr, Open(ZLIB_FILEFUNC_MODE_CREATE));
}

}  // namespace
