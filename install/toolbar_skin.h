#pragma once
// The toolbar skin that suits a screen. No <windows.h> here.

struct ToolbarSkin {
    const wchar_t* skin;  // file name in the product's Toolbars folder
    const wchar_t* size;  // its button size as text
};

// The screen height the rule compares; asked afresh for each comparison.
class ScreenHeight {
public:
    virtual ~ScreenHeight() = default;
    virtual int Query() = 0;
};

// Horizontal logical pixels per inch in percent of 96, truncated.
int ScaleFromPixelsPerInch(int pixelsPerInch);

// The first row that holds: height >= 1600 or scale >= 170 gives the 48-pixel
// skin, height > 1200 or scale >= 150 the 32-pixel one, height >= 768 the
// 24-pixel one, anything else the 16-pixel one.
ToolbarSkin PickToolbarSkin(int scale, ScreenHeight& height);

// The same with the display's metrics (full-screen client height, LOGPIXELSX).
ToolbarSkin ChooseToolbarSkin();
