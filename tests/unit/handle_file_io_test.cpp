// The file functions minizip reads the temporary archive through: reads of
// any size at any position must give the file's bytes, whatever the
// read-ahead buffer holds, read from the file or from its copy in memory.
#include "install/handle_file_io.h"

#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// the parameter: read from the copy in memory instead of the file
class HandleFileIoTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        // not a multiple of the read-ahead, with every offset's byte distinct enough
        content_.resize(200000 + 123);
        for (size_t i = 0; i < content_.size(); ++i)
            content_[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        path_ = FreshFolder(L"handle_io") + L"archive.bin";
        WriteFileBytes(path_, content_);
        file_ = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file_);
        // the bytes in memory as well, as the resource that was written
        copy_ = content_;
        source_ = {file_, GetParam() ? copy_.data() : nullptr, copy_.size()};
        FillHandleFileFunctions(&functions_, &source_);
        stream_ = functions_.zopen64_file(functions_.opaque, path_.c_str(),
                                          ZLIB_FILEFUNC_MODE_READ | ZLIB_FILEFUNC_MODE_EXISTING);
        ASSERT_NE(nullptr, stream_);
    }
    void TearDown() override
    {
        if (stream_)
            functions_.zclose_file(functions_.opaque, stream_);
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
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

    std::string content_, copy_;
    HandleSource source_ = {};
    std::wstring path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    zlib_filefunc64_def functions_ = {};
    voidpf stream_ = nullptr;
};

TEST_P(HandleFileIoTest, ReadsOfEverySizeGiveTheFilesBytes)
{
    // byte-sized header reads, reads within and across the read-ahead, one
    // larger than it, and a read that runs past the end of the file
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

TEST_P(HandleFileIoTest, SeeksFromStartCurrentAndEnd)
{
    struct Step {
        unsigned long long offset;
        int origin;
        unsigned long long expected;
    };
    const unsigned long long size = content_.size();
    const Step steps[] = {
        {70000, ZLIB_FILEFUNC_SEEK_SET, 70000},  // beyond the first read-ahead
        {5, ZLIB_FILEFUNC_SEEK_SET, 5},          // back into it
        {4078, ZLIB_FILEFUNC_SEEK_CUR, 4095},  // 5 + 12 read + 4078: the last byte of a read-ahead
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

TEST_P(HandleFileIoTest, EachStreamReadsFromTheStartAndTheHandleStaysOpen)
{
    // whatever the handle's own pointer says, a stream starts at offset 0
    LARGE_INTEGER middle;
    middle.QuadPart = 1000;
    SetFilePointerEx(file_, middle, nullptr, FILE_BEGIN);
    voidpf second = functions_.zopen64_file(functions_.opaque, path_.c_str(),
                                            ZLIB_FILEFUNC_MODE_READ | ZLIB_FILEFUNC_MODE_EXISTING);
    ASSERT_NE(nullptr, second);
    std::string bytes(8, '\0');
    EXPECT_EQ(8u, functions_.zread_file(functions_.opaque, second, &bytes[0], 8));
    EXPECT_EQ(content_.substr(0, 8), bytes);
    functions_.zclose_file(functions_.opaque, second);
    // and streams over the same handle do not disturb each other
    EXPECT_EQ(content_.substr(0, 8), Read(8));

    // writing is not offered
    EXPECT_EQ(nullptr, functions_.zopen64_file(functions_.opaque, path_.c_str(),
                                               ZLIB_FILEFUNC_MODE_CREATE));
    DWORD size = GetFileSize(file_, nullptr);
    EXPECT_EQ(content_.size(), size);  // the handle still works
}

INSTANTIATE_TEST_SUITE_P(FileAndCopy, HandleFileIoTest, ::testing::Bool());

}  // namespace
