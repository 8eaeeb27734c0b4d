#pragma once
// Wizard mode of start-up.

#include <windows.h>

// Builds the title font into logFont, runs the five-page wizard modally and
// returns when it closes.
void RunWizard(LOGFONTW& logFont);
