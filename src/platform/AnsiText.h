#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tovrin::platform {

// Text fields of the notification-icon record are in the ANSI code page of a Chinese
// system (GBK): the text, one NUL, then spaces to the field's full width. Text that does
// not fit is cut at a character boundary so that the NUL always fits.
void WriteAnsiField(char* field, std::size_t width, std::string_view utf8);

// The text of such a field (up to its NUL) as UTF-8.
std::string ReadAnsiField(const char* field, std::size_t width);

template <std::size_t N> void WriteAnsiField(char (&field)[N], std::string_view utf8)
{
    WriteAnsiField(field, N, utf8);
}

template <std::size_t N> std::string ReadAnsiField(const char (&field)[N])
{
    return ReadAnsiField(field, N);
}

} // namespace tovrin::platform
