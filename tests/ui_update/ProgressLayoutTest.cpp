#include "ui/update/ProgressLayout.h"

#include <gtest/gtest.h>

namespace wt {
namespace {

TEST(ProgressLayout, BarCountIsOneOrTwo) {
    const std::pair<int, int> cases[] = {{1, 1}, {2, 2}, {3, 2}, {100, 2}, {0, 1}, {-5, 1}};
    for (auto [in, out] : cases) EXPECT_EQ(NormalizeBarCount(in), out) << in;
}

TEST(ProgressLayout, OneBarSitsTwentyFivePixelsAboveTheBottom) {
    const ProgressGeometry g = LayoutProgress(100, 13, 0, 13, 1);
    EXPECT_EQ(g.width, 252);  // short texts keep the bar's right edge + 20
    EXPECT_EQ(g.promptTop, 8 + 13 + 3);
    EXPECT_EQ(g.clientHeight, 24 + 13 + 40);
    EXPECT_FALSE(g.topBarVisible);
    EXPECT_EQ(g.mainBarTop, g.clientHeight - 25);
}

TEST(ProgressLayout, TwoBarsAndALongTitleWidenTheWindow) {
    const ProgressGeometry g = LayoutProgress(400, 14, 250, 12, 2);
    EXPECT_EQ(g.width, 52 + 400 + 10);
    EXPECT_TRUE(g.topBarVisible);
    EXPECT_EQ(g.topBarTop, g.clientHeight - 30);
    EXPECT_EQ(g.mainBarTop, g.clientHeight - 20);
}

TEST(ProgressLayout, PlacementPrefersActiveWindowThenOwnerThenScreen) {
    const Box screen{0, 0, 1920, 1080};
    const Box active{100, 200, 600, 400};
    const Box owner{1000, 50, 300, 300};
    EXPECT_EQ(PlaceProgress(252, active, owner, screen), (Point{100 + (600 - 252) / 2, 400}));
    EXPECT_EQ(PlaceProgress(252, std::nullopt, owner, screen), (Point{1000 + 24, 200}));
    EXPECT_EQ(PlaceProgress(252, std::nullopt, std::nullopt, screen), (Point{(1920 - 252) / 2, 540}));
}

TEST(ProgressLayout, GradientColoursAreRoundedSteps) {
    const Rgb silver{0xC0, 0xC0, 0xC0}, white{0xFF, 0xFF, 0xFF};
    EXPECT_EQ(GradientColour(silver, white, 0), silver);
    EXPECT_EQ(GradientColour(silver, white, 50), (Rgb{224, 224, 224}));  // 192 + 63 * 0.5 = 223.5
    EXPECT_EQ(GradientColour(silver, white, 99), (Rgb{254, 254, 254}));  // 192 + 62.37
    EXPECT_EQ(GradientColour(white, Rgb{0, 0, 0}, 1), (Rgb{252, 252, 252}));  // 255 - 2.55
}

TEST(ProgressLayout, DoubleGradientIsStartAtBothEdgesAndEndInTheMiddle) {
    const Rgb start{0, 0, 0}, end{100, 200, 0};
    const auto bands = GradientBands(TBackMode::bmGradientDblHorz, start, end, 77);
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands[0].colour, GradientColour(start, end, 1));
    EXPECT_EQ(bands[49].colour, GradientColour(start, end, 99));
    EXPECT_EQ(bands[50].colour, GradientColour(start, end, 98));
    EXPECT_EQ(bands[99].colour, GradientColour(start, end, 0));
    // Bands tile the size without gaps: k * size / 100 .. (k + 1) * size / 100.
    EXPECT_EQ(bands[0].from, 0);
    for (int k = 1; k < 100; ++k) EXPECT_EQ(bands[k].from, bands[k - 1].to);
    EXPECT_EQ(bands[99].to, 77);
    EXPECT_EQ(bands[50].from, 38);

    const auto single = GradientBands(TBackMode::bmGradientVert, start, end, 300);
    EXPECT_EQ(single[0].colour, start);
    EXPECT_EQ(single[99].colour, GradientColour(start, end, 99));
    EXPECT_FALSE(BandsAreHorizontal(TBackMode::bmGradientVert));
    EXPECT_TRUE(GradientBands(TBackMode::bmDefault, start, end, 300).empty());
}

TEST(ProgressLayout, BarTakesOnlyValuesInItsRangeAndZeroMaxIsNeverFull) {
    BarValue bar{3, 0};
    EXPECT_FALSE(bar.Set(4));
    EXPECT_FALSE(bar.Set(-1));
    EXPECT_TRUE(bar.Set(3));
    EXPECT_TRUE(bar.Full());
    BarValue empty{0, 0};
    EXPECT_FALSE(empty.Set(1));
    EXPECT_FALSE(empty.Full());
}

}  // namespace
}  // namespace wt
