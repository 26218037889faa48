#pragma once

class QWidget;

namespace tovrin::browser {

// Whether any of a widget can be seen in its window: shown, in a window that is shown and
// not minimized, within its parents' areas, and not wholly covered by a control stacked
// above it (the update page under the notice).
bool InSight(const QWidget& widget);

} // namespace tovrin::browser
