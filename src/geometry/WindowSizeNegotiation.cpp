#include "geometry/WindowSizeNegotiation.h"

#include "geometry/Twips.h"

#include <algorithm>
#include <string>
#include <utility>

namespace tovrin::geometry {

namespace {

// A frame the window manager has drawn: while the window is being framed the margins
// can read as nothing or as nonsense.
bool IsFrame(const FrameMargins& m)
{
    const bool none = m.left == 0 && m.top == 0 && m.right == 0 && m.bottom == 0;
    return !none && m.left >= 0 && m.top >= 0 && m.right >= 0 && m.bottom >= 0;
}

PixelSize Extra(const FrameMargins& m)
{
    return {m.left + m.right, m.top + m.bottom};
}

std::string Describe(const char* what, PixelSize size)
{
    return std::string(what) + ' ' + std::to_string(size.width) + 'x' + std::to_string(size.height);
}

} // namespace

WindowSizeNegotiation::WindowSizeNegotiation(NegotiatedWindow& window, const MonotonicClock& clock)
    : m_window(window), m_clock(clock)
{}

void WindowSizeNegotiation::requestFrameBeforeShowing()
{
    if (m_frameRequested)
        return;
    m_frameRequested = true;
    if (m_knownFrame || frameArrived())
        return;
    if (const auto announced = m_window.requestFrame(); announced && IsFrame(*announced)) {
        m_knownFrame = *announced;
        m_frameAnnounced = true;
    }
    m_window.trace(Describe("frame announced", frame()));
}

void WindowSizeNegotiation::centreOnFirstShowing(PixelRect workArea, Size outer)
{
    m_centreIn = workArea;
    placeCentred(workArea, outer);
}

void WindowSizeNegotiation::placeCentred(PixelRect area, Size outer)
{
    noteFrame();
    const FrameMargins f = frameMargins();
    const PixelSize outerPixels{TwipsToPixels(outer.W), TwipsToPixels(outer.H)};
    const PixelRect client{area.x + (area.width - outerPixels.width) / 2 + f.left,
                           area.y + (area.height - outerPixels.height) / 2 + f.top,
                           std::max(outerPixels.width - f.left - f.right, 0),
                           std::max(outerPixels.height - f.top - f.bottom, 0)};
    m_window.trace(Describe("centred with frame", frame()));
    if (!frameArrived() && !watching())
        startWatch();
    m_requestedOuter = outer;
    m_requestedClient = {client.width, client.height};
    if (!(m_requestedClient == m_window.clientSize()))
        m_pendingOuter = outer;
    m_askedAtMs = m_clock.nowMs();
    m_placedAt = client;
    m_window.placeClient(client);
}

bool WindowSizeNegotiation::frameArrived() const
{
    return IsFrame(m_window.drawnFrame());
}

FrameMargins WindowSizeNegotiation::frameMargins() const
{
    if (const auto drawn = m_window.drawnFrame(); IsFrame(drawn))
        return drawn;
    return m_knownFrame.value_or(FrameMargins{});
}

PixelSize WindowSizeNegotiation::frame() const
{
    return Extra(frameMargins());
}

void WindowSizeNegotiation::noteFrame()
{
    if (const auto drawn = m_window.drawnFrame(); IsFrame(drawn))
        m_knownFrame = drawn;
}

bool WindowSizeNegotiation::requestApplied() const
{
    return m_window.clientSize() == m_requestedClient;
}

Size WindowSizeNegotiation::outerSize() const
{
    if (m_pendingOuter && !requestApplied())
        return *m_pendingOuter;
    const PixelSize client = m_window.clientSize();
    const PixelSize extra = frame();
    return {PixelsToTwips(client.width + extra.width), PixelsToTwips(client.height + extra.height)};
}

void WindowSizeNegotiation::setOuterSize(Size outer)
{
    noteFrame();
    const PixelSize extra = frame();
    m_window.trace(Describe("set outer size with frame", extra));
    // Until the frame is there to read, the size may rest on a guess: make it exact
    // once the frame is known.
    if (!frameArrived() && !watching())
        startWatch();
    const PixelSize client{std::max(TwipsToPixels(outer.W) - extra.width, 0),
                           std::max(TwipsToPixels(outer.H) - extra.height, 0)};
    m_requestedOuter = outer;
    m_requestedClient = client;
    // No resize event follows a size the window already has.
    if (client == m_window.clientSize())
        return;
    m_pendingOuter = outer;
    m_askedAtMs = m_clock.nowMs();
    ask(client);
}

void WindowSizeNegotiation::ask(PixelSize client)
{
    // While the first showing is being framed, neither Qt nor the X server need know
    // where the window stands (a window manager's late configure event, a placement it
    // has not yet applied): a size asked for then carries the position it was placed at.
    if (m_centreIn)
        m_window.placeClient({m_placedAt.x, m_placedAt.y, client.width, client.height});
    else
        m_window.resizeClient(client);
}

void WindowSizeNegotiation::resized()
{
    noteFrame();
    m_pendingOuter.reset();
    if (m_requestedOuter && !requestApplied())
        m_requestedOuter.reset(); // resized by the user since
}

void WindowSizeNegotiation::moved()
{
    // Reparenting into the window manager's frame moves the client: the frame has come.
    noteFrame();
    watchFrame();
}

void WindowSizeNegotiation::watchFrame()
{
    if (!watching())
        return;
    noteFrame();
    // Once the frame is known and the size set from code has been applied, make that
    // size exact. The applied size is read from the window rather than waited for: a
    // resize asked for while the first one is delivered sends no event of its own.
    const std::int64_t now = m_clock.nowMs();
    const bool frameKnown = frameArrived();
    const bool timedOut = now - *m_watchStartedMs > kWatchLongestMs;
    const bool outstanding = m_requestedOuter && !requestApplied();
    if ((!frameKnown || outstanding) && !timedOut) {
        // A size asked for while the window was being shown can be lost on the way, and
        // a busy window manager can leave it unanswered; ask again now and then.
        if (outstanding && m_window.shownNormal() && now - m_askedAtMs > kAskAgainMs) {
            m_window.trace(Describe("size not applied; asking again for", m_requestedClient));
            m_askedAtMs = now;
            ask(m_requestedClient);
        }
        return;
    }
    stopWatch();
    m_pendingOuter.reset();
    m_window.trace(frameKnown ? Describe("frame known", frame()) : "frame watch given up");
    const auto centreIn = std::exchange(m_centreIn, std::nullopt);
    if (!frameKnown || !m_requestedOuter || !m_window.normalState() || !requestApplied())
        return;
    // The frame came unannounced: the window stands where a frame of none would be
    // centred, and is centred now that the frame is known.
    if (centreIn && !m_frameAnnounced) {
        placeCentred(*centreIn, *m_requestedOuter);
        return;
    }
    const PixelSize client = m_window.clientSize();
    const PixelSize extra = frame();
    const PixelSize outer{TwipsToPixels(m_requestedOuter->W), TwipsToPixels(m_requestedOuter->H)};
    if (PixelSize{client.width + extra.width, client.height + extra.height} != outer)
        setOuterSize(*m_requestedOuter);
}

void WindowSizeNegotiation::startWatch()
{
    m_watchStartedMs = m_clock.nowMs();
    m_window.setWatching(true);
}

void WindowSizeNegotiation::stopWatch()
{
    m_watchStartedMs.reset();
    m_window.setWatching(false);
}

} // namespace tovrin::geometry
