#pragma once

#include "framework/wnd.h"

class CWizPropertyPage;

// The release notes' read-only text as the keyboard meets it: the arrow,
// page and line keys move through the text and the view follows them, while
// Tab, Enter and Esc stay the wizard's, as on every other page, and focus
// selects nothing.
class CReleaseNotesText : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The release notes (resource "TXT" 128) into the what's-new page's text
// control; a missing resource leaves the control as it is.
void LoadWhatsNewText(CWizPropertyPage* page);
