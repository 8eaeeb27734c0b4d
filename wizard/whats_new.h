#pragma once

#include "wizard/wiz_property_page.h"

// The release notes (resource "TXT" 128) into the what's-new page's text
// control; a missing resource leaves the control as it is.
void LoadWhatsNewText(CWizPropertyPage* page);
