#include "geometry/WindowSizeNegotiation.h"

#include "geometry/Twips.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using tovrin::geometry::FrameMargins;
using tovrin::geometry::MonotonicClock;
using tovrin::geometry::NegotiatedWindow;
using tovrin::geometry::PixelRect;
using tovrin::geometry::PixelSize;
using tovrin::geometry::PixelsToTwips;
using tovrin::geometry::Size;
using tovrin::geometry::WindowSizeNegotiation;

namespace {

class FakeClock : public MonotonicClock
{
public:
    std::int64_t nowMs() const override { return now; }
    std::int64_t now = 1000;
};

// A window manager in miniature: it applies client sizes when told to (or not at all),
// and draws its frame when the test says so.
class FakeWindow : public NegotiatedWindow
{
public:
    FrameMargins drawnFrame() const override { return drawn; }
    std::optional<FrameMargins> requestFrame() override
    {
        ++frameRequests;
        return announced;
    }
    PixelSize clientSize() const override { return client; }
    void resizeClient(PixelSize size) override { asked.push_back(size); }
    void placeClient(PixelRect rect) override
    {
        placed.push_back(rect);
        client = {rect.width, rect.height}; // applied at once, as before the first showing
    }
    bool shownNormal() const override { return shown && normal; }
    bool normalState() const override { return normal; }
    void setWatching(bool on) override { watching = on; }

    FrameMargins drawn{};
    std::optional<FrameMargins> announced;
    int frameRequests = 0;
    PixelSize client{793, 539};
    std::vector<PixelSize> asked;
    std::vector<PixelRect> placed;
    bool shown = true;
    bool normal = true;
    bool watching = false;
};

constexpr FrameMargins kFrame{1, 25, 1, 4}; // 2 x 29 pixels
constexpr Size kMinimum{12030, 8595};       // 802 x 573 pixels outer

struct Negotiation
{
    FakeClock clock;
    FakeWindow window;
    WindowSizeNegotiation size{window, clock};

    // The window system applies the last size asked for, as a resize event.
    void applyLastAsked()
    {
        window.client = window.asked.back();
        size.resized();
        size.watchFrame();
    }
    // The window manager frames the window, which moves its client.
    void frame(FrameMargins margins)
    {
        window.drawn = margins;
        size.moved();
    }
    void tick(int ms)
    {
        clock.now += ms;
        size.watchFrame();
    }
};

TEST(WindowSizeNegotiation, AnnouncedFrameMakesTheFirstSizeExactWithOneRequest)
{
    Negotiation n;
    n.window.announced = kFrame;
    n.size.requestFrameBeforeShowing();
    n.size.requestFrameBeforeShowing();
    EXPECT_EQ(n.window.frameRequests, 1);

    n.size.setOuterSize(kMinimum);
    EXPECT_EQ(n.window.asked.back(), (PixelSize{800, 544}));
    // Read back as set until the window system applies it.
    EXPECT_EQ(n.size.outerSize(), kMinimum);
    n.applyLastAsked();
    EXPECT_EQ(n.size.outerSize(), kMinimum);

    // The frame drawn as announced: nothing to correct.
    n.frame(kFrame);
    n.tick(50);
    EXPECT_FALSE(n.window.watching);
    EXPECT_EQ(n.window.asked.size(), 1u);
    EXPECT_EQ(n.size.outerSize(), kMinimum);
}

TEST(WindowSizeNegotiation, LateFrameIsAllowedForOnceItArrives)
{
    Negotiation n;
    n.size.requestFrameBeforeShowing(); // the window manager cannot say
    n.size.setOuterSize(kMinimum);
    EXPECT_EQ(n.window.asked.back(), (PixelSize{802, 573}));
    EXPECT_TRUE(n.window.watching);
    n.applyLastAsked();
    n.tick(50);
    EXPECT_TRUE(n.window.watching) << "no frame yet";

    // Nonsense while being framed changes nothing.
    n.frame(FrameMargins{-1, 0, 0, 0});
    EXPECT_EQ(n.window.asked.size(), 1u);

    n.frame(kFrame);
    EXPECT_EQ(n.window.asked.back(), (PixelSize{800, 544}));
    n.applyLastAsked();
    n.tick(50);
    EXPECT_FALSE(n.window.watching);
    EXPECT_EQ(n.size.outerSize(), kMinimum);

    // Unmapped, the frame reads as nothing: the last one drawn still counts.
    n.window.drawn = {};
    EXPECT_EQ(n.size.outerSize(), kMinimum);
}

TEST(WindowSizeNegotiation, WindowManagerThatNeverFramesIsGivenUpOnAfterAMinute)
{
    Negotiation n;
    n.size.setOuterSize(kMinimum);
    n.applyLastAsked();
    n.tick(WindowSizeNegotiation::kWatchLongestMs);
    EXPECT_TRUE(n.window.watching);
    n.tick(1);
    EXPECT_FALSE(n.window.watching);
    EXPECT_EQ(n.window.asked.size(), 1u);
    EXPECT_EQ(n.size.outerSize(), kMinimum);
}

TEST(WindowSizeNegotiation, SizeLeftUnansweredIsAskedAgainEveryHalfSecondForAMinute)
{
    // A tiling window manager keeps its own size: the minimum is asked for again now and
    // then, not on every tick, and not once the watch has ended.
    Negotiation n;
    n.window.drawn = kFrame;
    n.size.setOuterSize(kMinimum);
    EXPECT_EQ(n.size.outerSize(), kMinimum) << "read back as set while outstanding";
    n.window.drawn = {}; // the watch runs while the size is outstanding, framed or not
    n.size.setOuterSize(kMinimum);
    ASSERT_TRUE(n.window.watching);
    n.window.drawn = kFrame;
    for (int ms = 0; ms < WindowSizeNegotiation::kWatchLongestMs + 1000; ms += 50)
        n.tick(50);
    EXPECT_FALSE(n.window.watching);
    EXPECT_GE(n.window.asked.size(), 100u);
    EXPECT_LE(n.window.asked.size(), 120u);
    // Given up: the size is what the window manager left.
    EXPECT_EQ(n.size.outerSize(), (Size{PixelsToTwips(795), PixelsToTwips(568)}));

    // Hidden or maximized, a lost size is not asked for again.
    Negotiation hidden;
    hidden.window.shown = false;
    hidden.size.setOuterSize(kMinimum);
    hidden.tick(2000);
    EXPECT_EQ(hidden.window.asked.size(), 1u);
}

TEST(WindowSizeNegotiation, UsersResizeIsNotUndoneAndAChangedFrameIsRead)
{
    Negotiation n;
    n.frame(kFrame);
    n.size.setOuterSize(kMinimum);
    n.applyLastAsked();
    // The user drags the window larger: the size set before is forgotten.
    n.window.client = {900, 600};
    n.size.resized();
    n.tick(50);
    EXPECT_EQ(n.window.asked.size(), 1u);
    EXPECT_EQ(n.size.outerSize(), (Size{PixelsToTwips(902), PixelsToTwips(629)}));

    // A new theme draws a thicker frame: sizes count it from then on.
    n.frame(FrameMargins{4, 30, 4, 4});
    EXPECT_EQ(n.size.outerSize(), (Size{PixelsToTwips(908), PixelsToTwips(634)}));
    n.size.setOuterSize(kMinimum);
    EXPECT_EQ(n.window.asked.back(), (PixelSize{794, 539}));
}

TEST(WindowSizeNegotiation, FirstShowingIsCentredWithTheFrameAnnouncedOrOnceItIsDrawn)
{
    constexpr PixelRect kWorkArea{0, 24, 1280, 1000}; // a panel along the top
    // 802 x 573 outer: the frame's top left at (239, 237).
    constexpr PixelRect kCentred{240, 262, 800, 544};

    Negotiation announced;
    announced.window.announced = kFrame;
    announced.size.requestFrameBeforeShowing();
    announced.size.centreOnFirstShowing(kWorkArea, kMinimum);
    ASSERT_EQ(announced.window.placed, std::vector<PixelRect>{kCentred});
    announced.frame(kFrame);
    announced.tick(50);
    EXPECT_EQ(announced.window.placed.size(), 1u) << "drawn as announced: placed once";
    EXPECT_TRUE(announced.window.asked.empty());

    // The window manager did not answer in time: centred as if without a frame, and once
    // the frame is drawn, placed again in one request, never resized where it stands.
    Negotiation late;
    late.size.requestFrameBeforeShowing();
    late.size.centreOnFirstShowing(kWorkArea, kMinimum);
    EXPECT_EQ(late.window.placed.back(), (PixelRect{239, 237, 802, 573}));
    late.frame(kFrame);
    EXPECT_EQ(late.window.placed.back(), kCentred);
    EXPECT_TRUE(late.window.asked.empty());
    EXPECT_EQ(late.size.outerSize(), kMinimum);
    // Only the first showing is centred: a frame drawn anew later moves nothing.
    late.tick(50);
    late.frame(FrameMargins{4, 30, 4, 4});
    late.tick(50);
    EXPECT_EQ(late.window.placed.size(), 2u);
}

TEST(WindowSizeNegotiation, SizeCorrectedWhileTheFirstShowingIsFramedKeepsItsPlace)
{
    // A window manager's late configure event reports the size the window had before it
    // was placed (openbox answers the frame request with one): the correction carries the
    // centred position, not the one Qt or the X server may hold at that moment.
    Negotiation n;
    n.window.announced = kFrame;
    n.size.requestFrameBeforeShowing();
    n.size.centreOnFirstShowing({0, 0, 1280, 1024}, kMinimum);
    n.window.client = {794, 539};
    n.size.resized();
    n.size.setOuterSize(kMinimum);
    EXPECT_TRUE(n.window.asked.empty());
    EXPECT_EQ(n.window.placed.back(), (PixelRect{240, 250, 800, 544}));
    // Framed: sizes set from then on leave the position to the window system.
    n.frame(kFrame);
    n.tick(50);
    n.window.client = {900, 600};
    n.size.resized();
    n.size.setOuterSize(kMinimum);
    EXPECT_EQ(n.window.asked, std::vector<PixelSize>{(PixelSize{800, 544})});
}

TEST(WindowSizeNegotiation, SizeTheWindowAlreadyHasAsksNothing)
{
    Negotiation n;
    n.frame(kFrame);
    n.window.client = {800, 544};
    n.size.setOuterSize(kMinimum);
    EXPECT_TRUE(n.window.asked.empty());
    EXPECT_FALSE(n.window.watching);
    EXPECT_EQ(n.size.outerSize(), kMinimum);
}

} // namespace
