#include "install/toolbar_skin.h"

#include <windows.h>

namespace {

class DisplayHeight : public ScreenHeight {
public:
    int Query() override { return GetSystemMetrics(SM_CYFULLSCREEN); }
};

}  // namespace

ToolbarSkin ChooseToolbarSkin()
{
    int scale = 100;
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (display != nullptr) {
        int pixelsPerInch = GetDeviceCaps(display, LOGPIXELSX);
        DeleteDC(display);
        scale = ScaleFromPixelsPerInch(pixelsPerInch);
    }
    DisplayHeight height;
    return PickToolbarSkin(scale, height);
}
