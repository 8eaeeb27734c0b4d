#pragma once
// The hyperlink's rules that need no window: fitting a rectangle to its text
// and turning a registered open command into a command line for a target.
// No <windows.h> here.

#include "platform/fixed_text.h"

#include <cstddef>

// The open command registered for the ".htm" type.
constexpr size_t kOpenCommandUnits = 130;
// The longest web address Windows handles (INTERNET_MAX_URL_LENGTH).
constexpr size_t kUrlUnits = 2084;
// The command cut before "%1", a blank and the address.
using OpenLine = FixedText<kOpenCommandUnits + 1 + kUrlUnits>;

struct LinkRect {
    int left;
    int top;
    int right;
    int bottom;
};

// How the control aligns its text (from its style).
struct LinkAlignment {
    bool centreImage;  // centred vertically: grow or shrink at top and bottom
    bool centre;       // centred: grow or shrink at both sides
    bool right;        // right-aligned: keep the right edge
};

// The control's rectangle (parent coordinates) resized to text of textWidth x
// textHeight plus the border (window size minus client size).
LinkRect FitLinkRect(LinkRect window, int borderWidth, int borderHeight, int textWidth,
                     int textHeight, LinkAlignment alignment);

// command with its "%1" part cut off ("\"%1\"" first, else "%1"; the whole
// command when neither occurs), then a blank and the target, into out.
// False (out empty) when it does not fit.
bool BuildOpenCommand(const wchar_t* command, const wchar_t* target, OpenLine& out);
