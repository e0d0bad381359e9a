#pragma once

// The messages of the "生成" button and its length box.

#include <string>
#include <string_view>

namespace orvanta::generator {

/// A length key other than a digit.
inline constexpr std::u16string_view kLengthRange = u"5 桁から 20桁の間で指定して下さい。";
/// A length box holding anything but digits (only a paste puts it there).
inline constexpr std::u16string_view kLengthNotDigits = u"桁数は数字で指定して下さい。";

/// A length above the longest password the button makes.
std::u16string tooLongMessage();

} // namespace orvanta::generator
