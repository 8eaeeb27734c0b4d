#pragma once
// What accessibility clients (screen readers) learn of a link: a link named
// by its text whose default action opens it. Everything else they ask comes
// from the system's own object for the static control.

#include <windows.h>

// The answer to the link's WM_GETOBJECT: a reference to the link's object
// for OBJID_CLIENT, else 0, which leaves the message to the default
// processing (the system's object).
LRESULT LinkAccessibleObject(HWND link, WPARAM flags, LPARAM objectId);
