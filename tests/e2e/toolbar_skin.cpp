// The toolbar skin a silent installation picks from the real display. One
// program, run by several tests on screens and resolutions of their own
// (tests/CMakeLists.txt), each naming the skin and size that its screen must
// get in PHOTARIUM_EXPECTED_SKIN ("file size").
#include "settings_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

TEST(ToolbarSkin, PickedForThisScreen)
{
    const char* given = std::getenv("PHOTARIUM_EXPECTED_SKIN");
    const char* logPixels = std::getenv("PHOTARIUM_LOGPIXELS");
    ASSERT_NE(nullptr, given);
    ASSERT_NE(nullptr, logPixels);
    std::string skinText, sizeText;
    std::istringstream(given) >> skinText >> sizeText;
    std::wstring skin(skinText.begin(), skinText.end()), size(sizeText.begin(), sizeText.end());
    // the screen this program was given
    ASSERT_EQ(std::atoi(logPixels), PixelsPerInch());

    std::wstring target = InstallSilently(L"skin");
    std::wstring ini = target + L"photar64.ini";
    EXPECT_EQ(skin, ReadProfile(ini, L"Toolbar", L"Skin")) << FullScreenHeight();
    EXPECT_EQ(size, ReadProfile(ini, L"Toolbar", L"Size"));
    // the chosen skin is one the product brings
    EXPECT_TRUE(FileExists(target + L"Toolbars\\" + skin));
}

}  // namespace
