#pragma once
// A library loaded by the program, freed when its owner goes.

#include <windows.h>

class ScopedLibrary {
public:
    explicit ScopedLibrary(HMODULE module) : module_(module) {}
    ~ScopedLibrary()
    {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    ScopedLibrary(const ScopedLibrary&) = delete;
    ScopedLibrary& operator=(const ScopedLibrary&) = delete;
    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};
