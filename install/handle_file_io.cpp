#include "install/handle_file_io.h"

#include <new>

namespace {

struct HandleStream {
    HANDLE file;
    int error;
};

voidpf ZCALLBACK OpenStream(voidpf opaque, const void*, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    HANDLE file = static_cast<HANDLE>(opaque);
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return nullptr;
    return new (std::nothrow) HandleStream{file, 0};
}

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto* s = static_cast<HandleStream*>(stream);
    DWORD read = 0;
    if (!ReadFile(s->file, buffer, size, &read, nullptr)) {
        s->error = static_cast<int>(GetLastError());
        return 0;
    }
    return read;
}

uLong ZCALLBACK WriteStream(voidpf, voidpf stream, const void*, uLong)
{
    // opened for reading only
    static_cast<HandleStream*>(stream)->error = ERROR_ACCESS_DENIED;
    return 0;
}

ZPOS64_T ZCALLBACK TellStream(voidpf, voidpf stream)
{
    auto* s = static_cast<HandleStream*>(stream);
    LARGE_INTEGER zero = {}, position = {};
    if (!SetFilePointerEx(s->file, zero, &position, FILE_CURRENT)) {
        s->error = static_cast<int>(GetLastError());
        return static_cast<ZPOS64_T>(-1);
    }
    return static_cast<ZPOS64_T>(position.QuadPart);
}

long ZCALLBACK SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* s = static_cast<HandleStream*>(stream);
    DWORD method;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: method = FILE_BEGIN; break;
    case ZLIB_FILEFUNC_SEEK_CUR: method = FILE_CURRENT; break;
    case ZLIB_FILEFUNC_SEEK_END: method = FILE_END; break;
    default: return -1;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(s->file, distance, nullptr, method)) {
        s->error = static_cast<int>(GetLastError());
        return -1;
    }
    return 0;
}

int ZCALLBACK CloseStream(voidpf, voidpf stream)
{
    // the handle stays open: it belongs to whoever filled the functions
    delete static_cast<HandleStream*>(stream);
    return 0;
}

int ZCALLBACK StreamError(voidpf, voidpf stream)
{
    return static_cast<HandleStream*>(stream)->error;
}

}  // namespace

void FillHandleFileFunctions(zlib_filefunc64_def* functions, HANDLE file)
{
    functions->zopen64_file = OpenStream;
    functions->zread_file = ReadStream;
    functions->zwrite_file = WriteStream;
    functions->ztell64_file = TellStream;
    functions->zseek64_file = SeekStream;
    functions->zclose_file = CloseStream;
    functions->zerror_file = StreamError;
    functions->opaque = file;
}
