#include "install/archive_in_memory.h"

#include <cstring>
#include <new>

namespace {

struct MemoryStream {
    const ArchiveInMemory* source;
    ZPOS64_T position;  // where the next read starts
};

voidpf ZCALLBACK OpenStream(voidpf opaque, const void*, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto* s = new (std::nothrow) MemoryStream;
    if (s)
        *s = {static_cast<const ArchiveInMemory*>(opaque), 0};
    return s;
}

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto* s = static_cast<MemoryStream*>(stream);
    ZPOS64_T left = s->position < s->source->size ? s->source->size - s->position : 0;
    uLong read = size < left ? size : static_cast<uLong>(left);
    std::memcpy(buffer, static_cast<const unsigned char*>(s->source->bytes) + s->position, read);
    s->position += read;
    return read;
}

uLong ZCALLBACK WriteStream(voidpf, voidpf, const void*, uLong)
{
    return 0;  // opened for reading only
}

ZPOS64_T ZCALLBACK TellStream(voidpf, voidpf stream)
{
    return static_cast<MemoryStream*>(stream)->position;
}

long ZCALLBACK SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* s = static_cast<MemoryStream*>(stream);
    ZPOS64_T base;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = s->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = s->source->size; break;
    default: return -1;
    }
    // the offset may be a negative number passed as unsigned
    ZPOS64_T target = base + offset;
    if (static_cast<long long>(target) < 0)
        return -1;
    s->position = target;
    return 0;
}

int ZCALLBACK CloseStream(voidpf, voidpf stream)
{
    delete static_cast<MemoryStream*>(stream);
    return 0;
}

int ZCALLBACK StreamError(voidpf, voidpf)
{
    return 0;  // memory does not fail
}

}  // namespace

void FillMemoryFileFunctions(zlib_filefunc64_def* functions, const ArchiveInMemory* source)
{
    functions->zopen64_file = OpenStream;
    functions->zread_file = ReadStream;
    functions->zwrite_file = WriteStream;
    functions->ztell64_file = TellStream;
    functions->zseek64_file = SeekStream;
    functions->zclose_file = CloseStream;
    functions->zerror_file = StreamError;
    functions->opaque = const_cast<ArchiveInMemory*>(source);
}
