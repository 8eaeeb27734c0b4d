#include "platform/work_in_parts.h"

#include "platform/scoped_handle.h"

#include <windows.h>

namespace {

struct Piece {
    PartWork work;
    void* context;
    size_t first;
    size_t end;
};

DWORD WINAPI WorkPiece(void* parameter)
{
    const Piece& piece = *static_cast<const Piece*>(parameter);
    piece.work(piece.context, piece.first, piece.end);
    return 0;
}

}  // namespace

ScopedHandle StartThread(LPTHREAD_START_ROUTINE start, void* parameter)
{
    HANDLE thread = CreateThread(nullptr, 0, start, parameter, 0, nullptr);
    return ScopedHandle(thread ? thread : INVALID_HANDLE_VALUE);
}

DWORD WaitForThread(HANDLE thread)
{
    // fails only for a handle that is no thread's: then nothing is known of it
    if (WaitForSingleObject(thread, INFINITE) != WAIT_OBJECT_0)
        ExitProcess(1);
    DWORD code = 0;
    return GetExitCodeThread(thread, &code) ? code : 0;
}

void WorkInParts(PartWork work, void* context, size_t count, int parts)
{
    if (parts > kMaxWorkParts)
        parts = kMaxWorkParts;
    if (static_cast<size_t>(parts) > count)
        parts = static_cast<int>(count);
    if (parts < 1)
        parts = 1;
    Piece pieces[kMaxWorkParts];
    ScopedHandle threads[kMaxWorkParts];
    for (int k = 0; k < parts; ++k) {
        pieces[k] = {work, context, count * k / parts, count * (k + 1) / parts};
        if (k == 0)
            continue;
        threads[k] = StartThread(WorkPiece, &pieces[k]);
        if (!threads[k].IsValid())
            WorkPiece(&pieces[k]);
    }
    WorkPiece(&pieces[0]);
    for (int k = 1; k < parts; ++k) {
        if (threads[k].IsValid())
            WaitForThread(threads[k].Get());
    }
}
