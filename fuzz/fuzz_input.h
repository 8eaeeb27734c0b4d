#pragma once
// Turns fuzzer bytes into UTF-16 units held in wchar_t, in a heap buffer of
// exactly the given capacity so that AddressSanitizer sees any overrun.

#include <cstddef>
#include <cstdint>
#include <memory>

class WideInput {
public:
    // Up to capacity - 1 units, terminated.
    WideInput(const uint8_t* data, size_t size, size_t capacity)
        : buffer_(new wchar_t[capacity]), capacity_(capacity)
    {
        size_t units = size / 2;
        if (units > capacity - 1)
            units = capacity - 1;
        for (size_t i = 0; i < units; ++i) {
            wchar_t c = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
            buffer_[i] = c == 0 ? L'a' : c;
        }
        buffer_[units] = L'\0';
    }
    wchar_t* get() { return buffer_.get(); }
    size_t capacity() const { return capacity_; }

private:
    std::unique_ptr<wchar_t[]> buffer_;
    size_t capacity_;
};

// The units of the input before its terminator; aborts when there is none.
inline size_t TerminatedLength(const wchar_t* text, size_t capacity)
{
    for (size_t i = 0; i < capacity; ++i)
        if (text[i] == L'\0')
            return i;
    __builtin_trap();
}
