// The toolbar skin a silent installation picks from the real display:
// 175 % (168 pixels per inch) on a screen lower than 1200 gets the 48-pixel
// skin. The harness gives this program its own Xvfb screen and LogPixels
// (tests/CMakeLists.txt).
#include "settings_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolbarSkin, ScaleOf175Percent)
{
    // the screen this program was given
    ASSERT_LT(FullScreenHeight(), 1200);
    ASSERT_EQ(168, PixelsPerInch());
    std::wstring target = InstallSilently(L"skin_dpi");
    std::wstring ini = target + L"photar64.ini";
    EXPECT_EQ(L"gnome-colors-human_48.png", ReadProfile(ini, L"Toolbar", L"Skin"));
    // the chosen skin is one the product brings
    EXPECT_TRUE(FileExists(target + L"Toolbars\\gnome-colors-human_48.png"));
    EXPECT_EQ(L"48", ReadProfile(ini, L"Toolbar", L"Size"));
}

}  // namespace
