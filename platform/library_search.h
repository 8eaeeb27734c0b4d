#pragma once
// Where the program's later library loads may look.

#include <windows.h>

// Makes later library loads search only the system folder. Windows 7
// without its 2011 loader update (KB2533623) has no SetDefaultDllDirectories:
// there the current folder leaves the search (SetDllDirectoryW(L"")) and the
// delay-loaded system libraries are loaded by their full System32 paths.
void HardenDllSearchPath();

// A system library by name from the system folder alone: with
// LOAD_LIBRARY_SEARCH_SYSTEM32, or by its full path where the system does
// not know that flag. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded library as its own type (decltype(&Name)); null
// when module is null or has no such function.
template <typename Fn>
Fn LibraryFunction(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}
