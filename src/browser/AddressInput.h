#pragma once

#include <QString>
#include <QUrl>

namespace tovrin::browser {

// Turns what Navigate is given into the address to load, as an address bar would:
// "www.example.com" becomes http://www.example.com. Empty text gives about:blank, and
// text that names no address at all an empty URL.
QUrl AddressFromUserText(const QString& text);

// An address as the engine may report it back: "http://Host" and "http://host/" are the
// same page, and so are a character and its percent-encoded form.
QString ComparableAddress(const QUrl& url);
inline bool SamePage(const QUrl& a, const QUrl& b)
{
    return ComparableAddress(a) == ComparableAddress(b);
}

} // namespace tovrin::browser
