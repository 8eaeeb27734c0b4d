#pragma once
// A C stream closed when its owner goes. No <windows.h> here.

#include <cstdio>

class ScopedFile {
public:
    ScopedFile() = default;
    explicit ScopedFile(FILE* file) : file_(file) {}
    ~ScopedFile() { Close(); }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    ScopedFile(ScopedFile&& other) noexcept : file_(other.file_) { other.file_ = nullptr; }

    bool IsValid() const { return file_ != nullptr; }
    FILE* Get() const { return file_; }
    // Closes the stream now; false when there is none or when fclose fails:
    // what the C library still held for the file did not reach it.
    bool Close()
    {
        if (file_ == nullptr)
            return false;
        bool closed = fclose(file_) == 0;
        file_ = nullptr;
        return closed;
    }

private:
    FILE* file_ = nullptr;
};
