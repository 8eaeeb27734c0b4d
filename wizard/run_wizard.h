#pragma once
// Wizard mode of start-up.

// Builds the title font, runs the five-page wizard modally and returns when
// it closes.
void RunWizard();
