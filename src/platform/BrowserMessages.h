#pragma once

#include <QString>

namespace tovrin::platform {

// The small pages a browser control shows in place of a page it will not or cannot show.

// An address that is not a web address was asked for; the text is shown as given.
QString RefusedAddressPage(const QString& text);

// The page's renderer ended again and again, or cannot be started.
QString StoppedPage();

} // namespace tovrin::platform
