#pragma once

#include <string>
#include <string_view>

namespace tovrin::lookup {

// Percent-encodes a query for use inside an address: the query's UTF-8 bytes,
// every byte outside A-Z a-z 0-9 - . _ ~ written as %XX with uppercase hex digits.
// The input is taken as the query box holds it, UTF-16 code units. A surrogate pair
// becomes one four-byte sequence; a lone surrogate becomes U+FFFD.
std::string UTF8EncodeURI(std::u16string_view szInput);

// The form a "raw" catalogue entry appends: characters outside ASCII pass through as
// UTF-8 (the browser encodes them itself), but ASCII other than the unreserved set is
// escaped as above, so that a query cannot add parameters or a fragment.
std::string EscapeRawQuery(std::u16string_view szInput);

// True for the ASCII characters an address can carry unescaped inside a query value.
constexpr bool IsUnreservedAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

} // namespace tovrin::lookup
