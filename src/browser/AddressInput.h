#pragma once

#include <QString>
#include <QUrl>

namespace tovrin::browser {

// Turns what Navigate is given into the address to load, as an address bar would:
// "www.example.com" becomes http://www.example.com. Empty text gives about:blank, and
// text that names no address at all an empty URL.
QUrl AddressFromUserText(const QString& text);

} // namespace tovrin::browser
