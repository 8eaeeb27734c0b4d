#include "install/handle_file_io.h"

#include <cstring>
#include <new>

namespace {

// minizip reads the archive's headers a byte at a time; each of those reads
// would be a system call of its own without a buffer of ours in between. The
// buffer stays small: the headers of an entry lie far from its data, so most
// refills are for a few dozen bytes, while data comes in reads of 16 KB that
// go straight to minizip's memory.
constexpr DWORD kReadAheadBytes = 4096;

struct HandleStream {
    const HandleSource* source;
    int error;
    ZPOS64_T position;     // where the next read starts
    ZPOS64_T bufferStart;  // file offset of buffer[0]
    DWORD bufferBytes;
    unsigned char buffer[kReadAheadBytes];
};

// Reads at the stream's position, whatever the handle's own file pointer says
// (every stream over the handle keeps its own position). Moving the pointer
// first is cheaper than a read through an OVERLAPPED, which also posts a
// completion for every read.
bool ReadAt(HandleStream* s, void* target, DWORD size, DWORD* read)
{
    *read = 0;
    if (s->source->copy) {
        ZPOS64_T left = s->position < s->source->size ? s->source->size - s->position : 0;
        *read = size < left ? size : static_cast<DWORD>(left);
        std::memcpy(target, static_cast<const unsigned char*>(s->source->copy) + s->position, *read);
        return true;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(s->position);
    if (!SetFilePointerEx(s->source->file, distance, nullptr, FILE_BEGIN) ||
        !ReadFile(s->source->file, target, size, read, nullptr)) {
        s->error = static_cast<int>(GetLastError());
        return false;
    }
    return true;
}

voidpf ZCALLBACK OpenStream(voidpf opaque, const void*, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto* s = new (std::nothrow) HandleStream;
    if (!s)
        return nullptr;
    s->source = static_cast<const HandleSource*>(opaque);
    s->error = 0;
    s->position = 0;
    s->bufferStart = 0;
    s->bufferBytes = 0;
    return s;
}

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto* s = static_cast<HandleStream*>(stream);
    auto* target = static_cast<unsigned char*>(buffer);
    uLong copied = 0;
    while (copied < size) {
        uLong wanted = size - copied;
        ZPOS64_T bufferEnd = s->bufferStart + s->bufferBytes;
        if (s->position >= s->bufferStart && s->position < bufferEnd) {
            ZPOS64_T available = bufferEnd - s->position;
            uLong part = available < wanted ? static_cast<uLong>(available) : wanted;
            std::memcpy(target + copied, s->buffer + (s->position - s->bufferStart), part);
            s->position += part;
            copied += part;
            continue;
        }
        DWORD read = 0;
        if (wanted >= kReadAheadBytes) {
            // large reads go straight to the caller's memory
            if (!ReadAt(s, target + copied, wanted, &read))
                break;
            s->position += read;
            copied += read;
            if (read < wanted)
                break;  // end of file
            continue;
        }
        s->bufferBytes = 0;
        s->bufferStart = s->position;
        if (!ReadAt(s, s->buffer, kReadAheadBytes, &read) || read == 0)
            break;
        s->bufferBytes = read;
    }
    return copied;
}

uLong ZCALLBACK WriteStream(voidpf, voidpf stream, const void*, uLong)
{
    // opened for reading only
    static_cast<HandleStream*>(stream)->error = ERROR_ACCESS_DENIED;
    return 0;
}

ZPOS64_T ZCALLBACK TellStream(voidpf, voidpf stream)
{
    return static_cast<HandleStream*>(stream)->position;
}

long ZCALLBACK SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* s = static_cast<HandleStream*>(stream);
    ZPOS64_T base;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = s->position; break;
    case ZLIB_FILEFUNC_SEEK_END: {
        LARGE_INTEGER size;
        if (s->source->copy) {
            size.QuadPart = static_cast<LONGLONG>(s->source->size);
        } else if (!GetFileSizeEx(s->source->file, &size)) {
            s->error = static_cast<int>(GetLastError());
            return -1;
        }
        base = static_cast<ZPOS64_T>(size.QuadPart);
        break;
    }
    default: return -1;
    }
    // the offset may be a negative number passed as unsigned
    ZPOS64_T target = base + offset;
    if (static_cast<LONGLONG>(target) < 0)
        return -1;
    s->position = target;
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

void FillHandleFileFunctions(zlib_filefunc64_def* functions, const HandleSource* source)
{
    functions->zopen64_file = OpenStream;
    functions->zread_file = ReadStream;
    functions->zwrite_file = WriteStream;
    functions->ztell64_file = TellStream;
    functions->zseek64_file = SeekStream;
    functions->zclose_file = CloseStream;
    functions->zerror_file = StreamError;
    functions->opaque = const_cast<HandleSource*>(source);
}
