#include "framework/child_fit.h"

void MoveChildrenInside(HWND parent)
{
    RECT client = {};
    if (!::GetClientRect(parent, &client))
        return;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect = {};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        LONG dx = rect.right > client.right ? rect.right - client.right : 0;
        LONG dy = rect.bottom > client.bottom ? rect.bottom - client.bottom : 0;
        if (dx > rect.left)
            dx = rect.left > 0 ? rect.left : 0;
        if (dy > rect.top)
            dy = rect.top > 0 ? rect.top : 0;
        if (dx != 0 || dy != 0)
            ::SetWindowPos(child, nullptr, rect.left - dx, rect.top - dy, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
