#pragma once
// Scope guards for the component library.

#include <objbase.h>
#include <shlobj.h>

// CoInitialize for the life of the scope, CoUninitialize at its end. The
// result of CoInitialize is not needed: an already initialised thread still
// has to balance the call.
class ComInitScope {
public:
    ComInitScope() { CoInitialize(nullptr); }
    ~ComInitScope() { CoUninitialize(); }
    ComInitScope(const ComInitScope&) = delete;
    ComInitScope& operator=(const ComInitScope&) = delete;
};

// Owns one interface pointer and releases it. Not copyable.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For the out parameter of a create or query call; releases what was held.
    void** Receive()
    {
        Reset();
        return reinterpret_cast<void**>(&pointer_);
    }

    void Reset()
    {
        if (pointer_ != nullptr) {
            pointer_->Release();
            pointer_ = nullptr;
        }
    }

private:
    T* pointer_ = nullptr;
};
