#pragma once
// Geometry, placement, gradient bands and bar arithmetic of the progress window, kept apart
// from the widget so that they can be checked without a window.
#include <optional>
#include <vector>

namespace wt {

enum class TBackMode { bmDefault, bmWallPaper, bmGradientVert, bmGradientHorz, bmGradientDblVert, bmGradientDblHorz };

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

// 1 or 2: any other positive count means 2, anything else 1.
int NormalizeBarCount(int count);

// Colour i (0..99) of the 100-step gradient, per channel start + (end - start) * i / 100, rounded.
Rgb GradientColour(Rgb start, Rgb end, int i);

struct Band {
    int from = 0, to = 0;  // pixel span [from, to) along the painted direction
    Rgb colour;
    bool operator==(const Band&) const = default;
};

// The 100 bands of a gradient mode over `size` pixels (the height for the horizontal modes, the
// width for the vertical ones). Empty for bmDefault and bmWallPaper.
std::vector<Band> GradientBands(TBackMode mode, Rgb start, Rgb end, int size);
// True when the mode's bands run from top to bottom (horizontal bands).
bool BandsAreHorizontal(TBackMode mode);

inline constexpr int kBarLeft = 52;
inline constexpr int kBarWidth = 180;
inline constexpr int kBarHeight = 10;
inline constexpr int kIconLeft = 10;
inline constexpr int kIconTop = 8;
inline constexpr int kTitleTop = 8;
inline constexpr int kCornerSize = 7;

struct ProgressGeometry {
    int width = 0;
    int clientHeight = 0;
    int promptTop = 0;
    bool topBarVisible = false;
    int topBarTop = 0;
    int mainBarTop = 0;
};

// Window layout from the measured title and prompt texts and the bar count.
ProgressGeometry LayoutProgress(int titleWidth, int titleHeight, int promptWidth, int promptHeight, int barCount);

// Top-left corner of the window: centred horizontally over the active window with its top at the
// middle of that window's client area; else the same over the owner when it is visible; else
// centred on the screen with its top at half the screen height. Boxes are in screen coordinates.
struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};
Point PlaceProgress(int width, std::optional<Box> activeClient, std::optional<Box> visibleOwnerClient, Box screen);

// One bar's value as a standard progress bar keeps it: a value outside 0..max is not taken.
struct BarValue {
    int max = 100;
    int value = 0;
    // Returns true when the bar moved.
    bool Set(int v);
    void SetMax(int m);
    // The bar stands at a reachable maximum (a zero maximum is never reached).
    bool Full() const { return max > 0 && value == max; }
};

}  // namespace wt
