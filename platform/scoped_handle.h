#pragma once
// A kernel handle (file, folder, thread) closed when its owner goes.

#include <windows.h>

class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            handle_ = other.Release();
        }
        return *this;
    }

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    void Close()
    {
        if (IsValid())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    // Hands the handle to a new owner (a C runtime descriptor).
    HANDLE Release()
    {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A directory search (FindFirstFileExW), closed when its owner goes.
class ScopedFind {
public:
    explicit ScopedFind(HANDLE search) : search_(search) {}
    ~ScopedFind()
    {
        if (IsValid())
            FindClose(search_);
    }
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;
    bool IsValid() const { return search_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return search_; }

private:
    HANDLE search_;
};
