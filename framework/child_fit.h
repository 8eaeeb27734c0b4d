#pragma once
// Keeping a dialog's controls inside it whatever the resolution.

#include <windows.h>

// Moves each child window that reaches past the parent's client area back
// inside it, keeping its size. Dialog units turn into pixels one value at a
// time, so a control ending on a page's last unit can end a pixel below the
// page at some resolutions (144 pixels per inch); elsewhere nothing moves.
void MoveChildrenInside(HWND parent);
