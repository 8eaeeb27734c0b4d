#pragma once
// Whether Windows runs a high-contrast theme: then controls that paint in
// colours of their own take the theme's system colours instead.

// True while the user's high-contrast setting is on (asked anew each time,
// so that a change while the program runs counts at the next paint).
bool IsHighContrastOn();
