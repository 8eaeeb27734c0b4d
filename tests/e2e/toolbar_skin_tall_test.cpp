// The toolbar skin a silent installation picks from the real display:
// a screen higher than 1200 pixels at 100 % gets the 32-pixel skin. The harness gives this program its own Xvfb screen and LogPixels
// (tests/CMakeLists.txt).
#include "settings_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolbarSkin, TallScreenAt100Percent)
{
    // the screen this program was given
    ASSERT_GT(FullScreenHeight(), 1200);
    ASSERT_EQ(96, PixelsPerInch());
    std::wstring target = InstallSilently(L"skin_tall");
    std::wstring ini = target + L"photar64.ini";
    EXPECT_EQ(L"gnome-colors-wise_32.png", ReadProfile(ini, L"Toolbar", L"Skin"));
    // the chosen skin is one the product brings
    EXPECT_TRUE(FileExists(target + L"Toolbars\\gnome-colors-wise_32.png"));
    EXPECT_EQ(L"32", ReadProfile(ini, L"Toolbar", L"Size"));
}

}  // namespace
