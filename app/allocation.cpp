// The setup program allocates only with new (std::nothrow) and checks the
// result. These replace the C++ runtime's allocation functions, whose
// throwing operator new would bring in the whole exception runtime; the
// tests keep the runtime's own.

#include <cstdlib>
#include <new>

void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept
{
    return std::malloc(bytes != 0 ? bytes : 1);
}

void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept
{
    return std::malloc(bytes != 0 ? bytes : 1);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
