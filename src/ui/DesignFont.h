#pragma once

#include <QFont>

namespace tovrin::ui {

// A font of the window's design: its face (or the first installed face standing in for
// it), size in points and weight.
QFont DesignFont(const char* family, double pointSize, bool bold = false);

} // namespace tovrin::ui
