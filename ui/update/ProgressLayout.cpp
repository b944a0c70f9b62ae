#include "ProgressLayout.h"

#include <algorithm>
#include <cmath>

namespace wt {

int NormalizeBarCount(int count) {
    if (count == 1 || count == 2) return count;
    return count > 0 ? 2 : 1;
}

static int Mix(int a, int b, int i) {
    return static_cast<int>(std::lround(a + (b - a) * static_cast<double>(i) / 100.0));
}

Rgb GradientColour(Rgb start, Rgb end, int i) {
    return {Mix(start.r, end.r, i), Mix(start.g, end.g, i), Mix(start.b, end.b, i)};
}

bool BandsAreHorizontal(TBackMode mode) {
    return mode == TBackMode::bmGradientHorz || mode == TBackMode::bmGradientDblHorz;
}

std::vector<Band> GradientBands(TBackMode mode, Rgb start, Rgb end, int size) {
    std::vector<Band> bands;
    const bool dbl = mode == TBackMode::bmGradientDblHorz || mode == TBackMode::bmGradientDblVert;
    const bool single = mode == TBackMode::bmGradientHorz || mode == TBackMode::bmGradientVert;
    if (!dbl && !single) return bands;
    bands.reserve(100);
    for (int k = 0; k < 100; ++k) {
        // Double gradients run 1, 3 .. 99 over the first half and 98, 96 .. 0 over the second.
        int index = single ? k : (k < 50 ? 2 * k + 1 : 2 * (99 - k));
        bands.push_back({k * size / 100, (k + 1) * size / 100, GradientColour(start, end, index)});
    }
    return bands;
}

ProgressGeometry LayoutProgress(int titleWidth, int titleHeight, int promptWidth, int promptHeight, int barCount) {
    ProgressGeometry g;
    g.promptTop = kTitleTop + titleHeight + 3;
    const int promptBottom = g.promptTop + promptHeight;
    g.width = std::max(kBarLeft + std::max(titleWidth, promptWidth) + 10, kBarLeft + kBarWidth + 20);
    g.clientHeight = promptBottom + 40;
    if (NormalizeBarCount(barCount) == 1) {
        g.topBarVisible = false;
        g.mainBarTop = g.clientHeight - 25;
        g.topBarTop = g.mainBarTop;
    } else {
        g.topBarVisible = true;
        g.topBarTop = g.clientHeight - 30;
        g.mainBarTop = g.clientHeight - 20;
    }
    return g;
}

Point PlaceProgress(int width, std::optional<Box> activeClient, std::optional<Box> visibleOwnerClient, Box screen) {
    const std::optional<Box>& over = activeClient ? activeClient : visibleOwnerClient;
    if (over) return {over->x + (over->width - width) / 2, over->y + over->height / 2};
    return {screen.x + (screen.width - width) / 2, screen.y + screen.height / 2};
}

bool BarValue::Set(int v) {
    if (v == value || v < 0 || v > max) return false;
    value = v;
    return true;
}

void BarValue::SetMax(int m) {
    max = m;
    if (value > max) value = max;
    if (value < 0) value = 0;
}

}  // namespace wt
