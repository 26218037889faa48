#pragma once

#include <QString>

#include <string_view>

namespace tovrin::ui {

// The core's UTF-8 text as a Qt string.
inline QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A Qt string's UTF-16 code units, as the core's encoding reads them.
inline std::u16string_view Units(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace tovrin::ui
