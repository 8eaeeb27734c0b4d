#include "install/toolbar_skin.h"

#include "framework/gdi.h"

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
    {
        ScopedCreateDC display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
        if (display != nullptr)
            scale = ScaleFromPixelsPerInch(GetDeviceCaps(display, LOGPIXELSX));
    }
    DisplayHeight height;
    return PickToolbarSkin(scale, height);
}
