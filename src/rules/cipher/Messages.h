#pragma once

// The messages of the key: the one start-up shows once the code table is built.

#include <string>
#include <string_view>

namespace orvanta::cipher {

/// The key taken from the product identifier, as `shown` (its two digits, or the reduced number).
std::u16string keyMessage(std::u16string_view shown);

/// The fixed key every machine shares when the product identifier gives none.
std::u16string fixedKeyMessage(std::u16string_view shown);

} // namespace orvanta::cipher
