#include "install/toolbar_skin.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Answers the queries in turn, the last answer from then on: a screen whose
// height changes while the skin is chosen.
class ChangingHeight : public ScreenHeight {
public:
    explicit ChangingHeight(std::vector<int> answers) : answers_(std::move(answers)) {}
    int Query() override { return answers_[next_ < answers_.size() - 1 ? next_++ : next_]; }

private:
    std::vector<int> answers_;
    size_t next_ = 0;
};

TEST(ToolbarSkinTest, ThresholdsAtTheirEdges)
{
    struct Case {
        std::vector<int> heights;  // one answer for each query, the last repeating
        int scale;
        const wchar_t* skin;
        const wchar_t* size;
    } cases[] = {
        {{767}, 100, L"Quartz_16.png", L"16"},
        {{768}, 100, L"Obsidian_24.png", L"24"},
        {{1200}, 100, L"Obsidian_24.png", L"24"},
        {{1200}, 149, L"Obsidian_24.png", L"24"},
        {{1201}, 100, L"gnome-colors-wise_32.png", L"32"},
        {{1599}, 100, L"gnome-colors-wise_32.png", L"32"},
        {{1600}, 100, L"gnome-colors-human_48.png", L"48"},
        {{600}, 149, L"Quartz_16.png", L"16"},
        {{600}, 150, L"gnome-colors-wise_32.png", L"32"},
        {{600}, 169, L"gnome-colors-wise_32.png", L"32"},
        {{600}, 170, L"gnome-colors-human_48.png", L"48"},
        {{1599}, 169, L"gnome-colors-wise_32.png", L"32"},
        {{1000}, 170, L"gnome-colors-human_48.png", L"48"},
        // each row compares the height asked afresh
        {{700, 700, 700}, 100, L"Quartz_16.png", L"16"},
        {{1000, 1300}, 100, L"gnome-colors-wise_32.png", L"32"},
        {{1000, 1000, 700}, 100, L"Quartz_16.png", L"16"},
        {{1000, 700, 800}, 100, L"Obsidian_24.png", L"24"},
        {{1700, 700}, 100, L"gnome-colors-human_48.png", L"48"},
    };
    for (const Case& c : cases) {
        ChangingHeight height(c.heights);
        ToolbarSkin chosen = PickToolbarSkin(c.scale, height);
        EXPECT_STREQ(c.skin, chosen.skin) << c.heights[0] << " " << c.scale;
        EXPECT_STREQ(c.size, chosen.size) << c.heights[0] << " " << c.scale;
    }
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
