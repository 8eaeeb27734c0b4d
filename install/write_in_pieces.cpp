#include "install/write_in_pieces.h"

bool WriteInPieces(HANDLE file, const void* bytes, DWORD size)
{
    const auto* next = static_cast<const unsigned char*>(bytes);
    for (DWORD left = size; left > 0;) {
        DWORD piece = left < kWritePieceBytes ? left : kWritePieceBytes;
        DWORD written = 0;
        if (!WriteFile(file, next, piece, &written, nullptr) || written != piece)
            return false;
        next += piece;
        left -= piece;
    }
    return true;
}
