#pragma once
// Writing through a handle: every byte goes to the file, in pieces, or the
// failure is reported.

#include <windows.h>

// Writes size bytes to file in pieces of kWritePieceBytes; true when every
// byte was written, false at the first write that failed or fell short. One
// write of many megabytes makes the kernel take large page-cache blocks,
// which on virtual machines that hand free memory back to their host stall
// for hundreds of milliseconds; pieces do not.
constexpr DWORD kWritePieceBytes = 256 * 1024;
bool WriteInPieces(HANDLE file, const void* bytes, DWORD size);
