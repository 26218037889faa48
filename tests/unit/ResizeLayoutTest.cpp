#include "geometry/ResizeLayout.h"

#include <gtest/gtest.h>

using namespace tovrin::geometry;

namespace {

Controls Pass(Size size, bool stripOpen, Controls from = DesignControls())
{
    return LayOut(from, MinimumSize(size, stripOpen), stripOpen);
}

} // namespace

TEST(ResizeLayout, StartSizeWithTheStripOpen)
{
    const Controls c = Pass({12030, 8595}, true);
    EXPECT_EQ(c.webBrowser1, (Rect{0, 800, 11930, 6080}));
    EXPECT_EQ(c.webBrowser2, (Rect{0, 6980, 5515, 1215}));
    EXPECT_EQ(c.webBrowser3, (Rect{6515, 6980, 5315, 1215}));
    EXPECT_EQ(c.text2, (Rect{6515, 6980, 5315, 1215}));
    EXPECT_EQ(c.cdUpdate, (Rect{5565, 7100, 900, 375}));
    EXPECT_EQ(c.cdAD, (Rect{5565, 7595, 900, 375}));
    EXPECT_EQ(c.contact, (Rect{10715, 6505, 1215, 375}));
    EXPECT_TRUE(c.stripButtonsVisible);
}

TEST(ResizeLayout, MinimumSizesHoldWithStrictComparisonsAndGuards)
{
    struct Case
    {
        Size in;
        bool open;
        Size out;
    };
    const Case cases[] = {
        {{11000, 8000}, true, {12030, 8595}},  {{12030, 8595}, true, {12030, 8595}},
        {{12029, 8594}, true, {12030, 8595}},  {{20000, 9000}, true, {20000, 9000}},
        {{5000, 1000}, true, {5000, 1000}}, // exactly the guard: untouched
        {{5000, 1001}, true, {12030, 8595}},   {{5000, 500}, true, {5000, 500}},
        {{12030, 5000}, false, {12030, 7300}}, {{12030, 7300}, false, {12030, 7300}},
        {{11000, 1800}, false, {12030, 1800}}, // above 1000 for the width, not 2000 for height
        {{11000, 2000}, false, {12030, 2000}}, {{11000, 2001}, false, {12030, 7300}},
        {{11000, 1000}, false, {11000, 1000}},
    };
    for (const auto& c : cases) {
        const Size out = MinimumSize(c.in, c.open);
        EXPECT_EQ(out, c.out) << c.in.W << "x" << c.in.H << (c.open ? " open" : " closed");
        // One pass at the final size changes nothing more: the rules are settled.
        EXPECT_EQ(MinimumSize(out, c.open), out);
    }
}

TEST(ResizeLayout, ClosedStripCollapsesAndGivesItsRoomToTheResults)
{
    const Controls c = Pass({12030, 8595}, false);
    for (const Rect& r : {c.webBrowser2, c.webBrowser3, c.text2, c.cdUpdate, c.cdAD})
        EXPECT_EQ(r.height, 0);
    EXPECT_FALSE(c.stripButtonsVisible);
    EXPECT_EQ(c.webBrowser1.height, 7295);
    EXPECT_EQ(c.webBrowser2.top, 8195);
    EXPECT_EQ(c.contact.top, 7720);

    EXPECT_EQ(Pass({12030, 5000}, false).webBrowser1.height, 6000);
    EXPECT_EQ(Pass({12030, 1800}, false).webBrowser1.height, 500);

    // Once collapsed, a later pass keeps it collapsed whatever the size.
    const Controls again = Pass({20000, 12000}, false, c);
    EXPECT_EQ(again.webBrowser2.height, 0);
    EXPECT_FALSE(again.stripButtonsVisible);
}

TEST(ResizeLayout, HalfTwipsStayAsComputed)
{
    const Controls c = LayOut(DesignControls(), {12031, 8595}, true);
    EXPECT_FLOAT_EQ(c.webBrowser2.width, 5515.5f);
    EXPECT_FLOAT_EQ(c.webBrowser3.left, 6515.5f);
}

TEST(ResizeLayout, SizesBelowTheGuardsClampAtZero)
{
    const Controls open = LayOut(DesignControls(), {900, 900}, true);
    EXPECT_EQ(open.webBrowser1.height, 0); // 900 - 800 - 1215 - 500 < 0
    EXPECT_EQ(open.webBrowser1.width, 800);
    EXPECT_EQ(open.webBrowser2.width, 0); // 450 - 500 < 0
    EXPECT_EQ(open.webBrowser3.width, 0);
    EXPECT_EQ(open.text2.width, 0);

    // Every size the layout computes from the window's stays at zero below it.
    const Controls tiny = LayOut(DesignControls(), {-50, -50}, false);
    for (const float computed : {tiny.webBrowser1.width, tiny.webBrowser1.height,
                                 tiny.webBrowser2.width, tiny.webBrowser3.width, tiny.text2.width})
        EXPECT_EQ(computed, 0);
}

TEST(ResizeLayout, MaximizedSizesAreLaidOutLikeAnyOther)
{
    const Controls c = LayOut(DesignControls(), {19200, 15600}, true);
    EXPECT_EQ(c.webBrowser1.width, 19100);
    EXPECT_EQ(c.webBrowser1.height, 15600 - 800 - 1215 - 500);
    EXPECT_EQ(c.contact.left, 19100 - 1215);
}
