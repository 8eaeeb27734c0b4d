#include "install/toolbar_skin.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FixedHeight : public ScreenHeight {
public:
    explicit FixedHeight(int height) : height_(height) {}
    int Query() override
    {
        ++queries;
        return height_;
    }
    int queries = 0;

private:
    int height_;
};

TEST(ToolbarSkinTest, ThresholdsAtTheirEdges)
{
    struct Case {
        int height;
        int scale;
        const wchar_t* skin;
        const wchar_t* size;
    } cases[] = {
        {767, 100, L"Quartz_16.png", L"16"},
        {768, 100, L"Obsidian_24.png", L"24"},
        {1200, 100, L"Obsidian_24.png", L"24"},
        {1200, 149, L"Obsidian_24.png", L"24"},
        {1201, 100, L"gnome-colors-wise_32.png", L"32"},
        {1599, 100, L"gnome-colors-wise_32.png", L"32"},
        {1600, 100, L"gnome-colors-human_48.png", L"48"},
        {600, 149, L"Quartz_16.png", L"16"},
        {600, 150, L"gnome-colors-wise_32.png", L"32"},
        {600, 169, L"gnome-colors-wise_32.png", L"32"},
        {600, 170, L"gnome-colors-human_48.png", L"48"},
        {1599, 169, L"gnome-colors-wise_32.png", L"32"},
        {1000, 170, L"gnome-colors-human_48.png", L"48"},
    };
    for (const Case& c : cases) {
        FixedHeight height(c.height);
        ToolbarSkin chosen = PickToolbarSkin(c.scale, height);
        EXPECT_STREQ(c.skin, chosen.skin) << c.height << " " << c.scale;
        EXPECT_STREQ(c.size, chosen.size) << c.height << " " << c.scale;
    }
}

TEST(ToolbarSkinTest, HeightIsAskedForEachComparison)
{
    FixedHeight small(700);
    PickToolbarSkin(100, small);
    EXPECT_EQ(3, small.queries);
    FixedHeight large(1700);
    PickToolbarSkin(100, large);
    EXPECT_EQ(1, large.queries);
}

TEST(ToolbarSkinTest, ScaleFromPixelsPerInch)
{
    struct Case {
        int pixelsPerInch;
        int scale;
    } cases[] = {
        {96, 100}, {120, 125}, {143, 148}, {144, 150}, {163, 169}, {164, 170}, {168, 175}, {192, 200},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.scale, ScaleFromPixelsPerInch(c.pixelsPerInch)) << c.pixelsPerInch;
}

}  // namespace
