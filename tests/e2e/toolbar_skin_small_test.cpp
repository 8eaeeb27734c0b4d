// The toolbar skin a silent installation picks from the real display:
// a screen lower than 768 pixels at 100 % gets the 16-pixel skin. The harness gives this program its own Xvfb screen and LogPixels
// (tests/CMakeLists.txt).
#include "settings_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolbarSkin, LowScreenAt100Percent)
{
    // the screen this program was given
    ASSERT_LT(FullScreenHeight(), 768);
    ASSERT_EQ(96, PixelsPerInch());
    std::wstring target = InstallSilently(L"skin_small");
    std::wstring ini = target + L"photar64.ini";
    EXPECT_EQ(L"Quartz_16.png", ReadProfile(ini, L"Toolbar", L"Skin"));
    // the chosen skin is one the product brings
    EXPECT_TRUE(FileExists(target + L"Toolbars\\Quartz_16.png"));
    EXPECT_EQ(L"16", ReadProfile(ini, L"Toolbar", L"Size"));
}

}  // namespace
