#pragma once

// Keeping a window's outer size (frame included) exact while the window manager frames
// it at a time of its own choosing.
//
// The program sets and reads outer sizes; the window system sets client sizes, and the
// frame is known only once the window manager has drawn it, some time after the window
// is first shown (or never, or differently after a theme change). Until then a size
// rests on a guess, and the negotiation watches for the frame to make it exact. Sizes
// set from code are applied asynchronously and can be lost on the way: they read back
// as set until applied, and are asked for again while they stay unanswered.
//
// Seen with openbox 3.6.1 and Qt 6.4.2 on xcb, and traced with
// QT_LOGGING_RULES="tovrin.window.debug=true": "frame announced" (the window manager's
// answer before the first showing), "frame known" (the frame drawn), and "size not
// applied; asking again" (a size lost, or refused: a tiling window manager that keeps
// its own size is asked every half second until the watch gives up after a minute).

#include "geometry/Pixels.h"
#include "geometry/ResizeLayout.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tovrin::geometry {

// What the negotiation needs of the real window, in pixels.
class NegotiatedWindow
{
public:
    virtual ~NegotiatedWindow() = default;
    // The frame as the window reads it now; nothing, or nonsense, while it is being framed.
    virtual FrameMargins drawnFrame() const = 0;
    // Asks the window manager which frame it will give the window. Blocks for a moment;
    // nothing when it cannot say.
    virtual std::optional<FrameMargins> requestFrame() = 0;
    virtual PixelSize clientSize() const = 0;
    // Resizes the client area where it stands.
    virtual void resizeClient(PixelSize size) = 0;
    // Places the client area on the screen: position and size in one request, so that
    // the window never stands anywhere else on the way.
    virtual void placeClient(PixelRect rect) = 0;
    // Shown and in the normal state (neither minimized nor maximized).
    virtual bool shownNormal() const = 0;
    virtual bool normalState() const = 0;
    // Runs or stops the frame watch, which calls watchFrame() every kWatchIntervalMs.
    virtual void setWatching(bool on) = 0;
    virtual void trace(std::string_view /*what*/) {}
};

class MonotonicClock
{
public:
    virtual ~MonotonicClock() = default;
    virtual std::int64_t nowMs() const = 0;
};

class WindowSizeNegotiation
{
public:
    static constexpr int kWatchIntervalMs = 50;
    // A window manager that never frames the window, or never gives it the size asked
    // for, is given up on after a minute.
    static constexpr int kWatchLongestMs = 60000;
    static constexpr int kAskAgainMs = 500;

    WindowSizeNegotiation(NegotiatedWindow& window, const MonotonicClock& clock);

    // Once, before the window is first shown: the window manager's word on the frame it
    // will draw, so that the first showing is at the right size and the first page is
    // not laid out again a moment later.
    void requestFrameBeforeShowing();

    // Once, before the window is first shown and after the frame was asked for: places
    // the window at the outer size given with its frame centred in the work area. A frame
    // that was not announced is allowed for once it is drawn, in one request for
    // position and size.
    void centreOnFirstShowing(PixelRect workArea, Size outer);

    // The outer size in twips: a size set from code until the window system applies it.
    Size outerSize() const;
    void setOuterSize(Size outer);

    // The window's own events: its client size or position has changed.
    void resized();
    void moved();
    // The frame watch's tick; also run on every move and resize while the watch runs.
    void watchFrame();
    bool watching() const { return m_watchStartedMs.has_value(); }

private:
    PixelSize frame() const;
    FrameMargins frameMargins() const;
    void placeCentred(PixelRect workArea, Size outer);
    void ask(PixelSize client);
    void noteFrame();
    bool frameArrived() const;
    bool requestApplied() const;
    void startWatch();
    void stopWatch();

    NegotiatedWindow& m_window;
    const MonotonicClock& m_clock;
    bool m_frameRequested = false;
    // The last frame drawn, or the one announced: the better guess while there is none
    // to read (before framing, while unmapped).
    std::optional<FrameMargins> m_knownFrame;
    bool m_frameAnnounced = false;
    // Where the first showing is centred, until the frame has been drawn, and where the
    // window was placed for it.
    std::optional<PixelRect> m_centreIn;
    PixelRect m_placedAt;
    // A size set from code, read back until applied.
    std::optional<Size> m_pendingOuter;
    // The outer size last set from code and the client size that gave it, to be made
    // exact once the frame is known; forgotten when the user resizes the window.
    std::optional<Size> m_requestedOuter;
    PixelSize m_requestedClient;
    std::optional<std::int64_t> m_watchStartedMs;
    std::int64_t m_askedAtMs = 0;
};

} // namespace tovrin::geometry
