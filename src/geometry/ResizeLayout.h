#pragma once

// The window's resize arithmetic, in single precision on twips. W and H are the
// window's outer size, frame and caption bar included.

namespace tovrin::geometry {

inline constexpr float kGuardHeight = 1000.0f;
inline constexpr float kGuardHeightStripClosed = 2000.0f;
inline constexpr float kMinimumWidth = 12030.0f;
inline constexpr float kMinimumHeightStripOpen = 8595.0f;
inline constexpr float kMinimumHeightStripClosed = 7300.0f;
// Kept free below the result browser and the contact button: the window's bottom edge
// and frame.
inline constexpr float kBottomAllowance = 500.0f;

struct Size
{
    float W;
    float H;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect
{
    float left, top, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The controls that follow the window's size, as they stand before and after a pass.
struct Controls
{
    Rect webBrowser1;
    Rect webBrowser2;
    Rect webBrowser3;
    Rect text2;
    Rect cdUpdate;
    Rect cdAD;
    Rect contact; // the contact button
    bool stripButtonsVisible = true;
    friend bool operator==(const Controls&, const Controls&) = default;
};

// The design geometry of those controls, the one place it is written.
Controls DesignControls();

// The size the minimum-size rules leave: strict comparisons, and no rule below the guard
// heights. A window whose size the rules keep is returned unchanged.
Size MinimumSize(Size size, bool stripOpen);

// One layout pass at a size: with the strip closed its parts are first collapsed to zero
// height and its buttons hidden; then every control is placed from W and H. Widths and
// heights that would come out negative are clamped at 0.
Controls LayOut(Controls current, Size size, bool stripOpen);

} // namespace tovrin::geometry
