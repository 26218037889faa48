#pragma once

#include <QString>
#include <QUrl>

namespace tovrin::platform {

// Turns what Navigate is given into the address to load, as an address bar would:
// "www.example.com" becomes http://www.example.com. Empty or unusable text gives
// about:blank, so that the control shows an empty page instead of failing.
QUrl AddressFromUserText(const QString& text);

} // namespace tovrin::platform
