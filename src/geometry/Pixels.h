#pragma once

namespace tovrin::geometry {

// Sizes and rectangles in device-independent pixels, as the window system gives them.
struct PixelSize
{
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// A rectangle on the screen: the work area, a window's client area, an icon.
struct PixelRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The window manager's frame around a window's client area.
struct FrameMargins
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

} // namespace tovrin::geometry
