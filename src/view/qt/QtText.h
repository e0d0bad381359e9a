#pragma once

// Texts between the core's UTF-16 strings and Qt's QString.

#include <QString>
#include <string>
#include <string_view>

namespace orvanta::view {

/// The core keeps its texts in UTF-16, as Qt does: these only change the container.
inline QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string toU16(const QString& text)
{
    return text.toStdU16String();
}

/// The names in the design table are plain ASCII.
inline QString toQString(std::string_view ascii)
{
    return QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()));
}

} // namespace orvanta::view
