#include "geometry/ResizeLayout.h"

#include <algorithm>

namespace tovrin::geometry {

namespace {

float nonNegative(float value)
{
    return std::max(value, 0.0f);
}

} // namespace

Controls DesignControls()
{
    Controls c;
    c.webBrowser1 = {0, 800, 11775, 5895};
    c.webBrowser2 = {0, 6840, 5415, 1215};
    c.webBrowser3 = {6480, 6840, 5295, 1215};
    c.text2 = {6480, 6840, 5295, 1215};
    c.cdUpdate = {5520, 6960, 900, 375};
    c.cdAD = {5520, 7440, 900, 375};
    c.contact = {10200, 6240, 1215, 375};
    c.stripButtonsVisible = true;
    return c;
}

Size MinimumSize(Size size, bool stripOpen)
{
    if (size.H > kGuardHeight && size.W < kMinimumWidth)
        size.W = kMinimumWidth;
    if (stripOpen) {
        if (size.H > kGuardHeight && size.H < kMinimumHeightStripOpen)
            size.H = kMinimumHeightStripOpen;
    } else if (size.H > kGuardHeightStripClosed && size.H < kMinimumHeightStripClosed) {
        size.H = kMinimumHeightStripClosed;
    }
    return size;
}

Controls LayOut(Controls c, Size size, bool stripOpen)
{
    const float W = size.W;
    const float H = size.H;
    if (!stripOpen) {
        c.webBrowser2.height = 0;
        c.webBrowser3.height = 0;
        c.cdUpdate.height = 0;
        c.cdAD.height = 0;
        c.text2.height = 0;
        c.stripButtonsVisible = false;
    }
    c.webBrowser1.width = nonNegative(W - 100);
    c.webBrowser1.height =
        nonNegative(H - c.webBrowser1.top - c.webBrowser2.height - kBottomAllowance);
    c.webBrowser2.width = nonNegative(W / 2 - 500);
    c.webBrowser3.width = nonNegative(c.webBrowser2.width - 200);
    c.webBrowser2.top = H - c.webBrowser2.height - 400;
    c.webBrowser3.top = c.webBrowser2.top;
    c.text2.top = c.webBrowser2.top;
    c.cdUpdate.top = c.webBrowser2.top + 120;
    c.cdAD.top = c.cdUpdate.height + c.cdUpdate.top + 120;
    c.webBrowser3.left = W / 2 + 600 - 100;
    c.text2.left = c.webBrowser3.left;
    c.text2.width = c.webBrowser3.width;
    c.cdUpdate.left =
        (c.webBrowser2.left + c.webBrowser2.width) +
        (c.webBrowser3.left - c.webBrowser2.left - c.webBrowser2.width - c.cdUpdate.width) / 2;
    c.cdAD.left = c.cdUpdate.left;
    c.contact.left = c.webBrowser1.width - c.contact.width;
    c.contact.top = c.webBrowser1.top + c.webBrowser1.height - c.contact.height;
    return c;
}

} // namespace tovrin::geometry
