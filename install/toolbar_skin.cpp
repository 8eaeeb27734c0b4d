#include "install/toolbar_skin.h"

int ScaleFromPixelsPerInch(int pixelsPerInch)
{
    int quotient = pixelsPerInch * 100 / 96;
    // the round trip through float and +0.5 keeps the quotient as it is
    return static_cast<int>(static_cast<double>(static_cast<float>(quotient)) + 0.5);
}

ToolbarSkin PickToolbarSkin(int scale, ScreenHeight& height)
{
    if (height.Query() >= 1600 || scale >= 170)
        return {L"gnome-colors-human_48.png", L"48"};
    if (height.Query() > 1200 || scale >= 150)
        return {L"gnome-colors-wise_32.png", L"32"};
    if (height.Query() >= 768)
        return {L"Obsidian_24.png", L"24"};
    return {L"Quartz_16.png", L"16"};
}
