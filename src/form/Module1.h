#pragma once

// Module1, the registry routines start-up uses to read the product ID.

#include "host/CodePage.h"
#include "host/Registry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvanta::form {

/// What QueryRegistryValue gives back: a text (type 1), the bytes of a binary value (type 3) or an
/// unsigned number (type 4); the default, unchanged, in every other case.
using RegistryResult = std::variant<std::u16string, std::vector<std::uint8_t>, std::uint32_t>;

/// Reads one registry value. Never reports an error: whatever cannot be read gives `defaultValue`.
RegistryResult QueryRegistryValue(const host::Registry& registry, const host::CodePage& codePage,
                                  std::uint32_t root, std::u16string_view subKey,
                                  std::u16string_view valueName, RegistryResult defaultValue);

/// The part of a text before its first NUL character; a text without one is returned whole.
std::u16string TrimAtNull(std::u16string_view text);

/// A registry result as the text a text box shows: a number in decimal, a byte array read as
/// UTF-16 text (two bytes a character, low byte first), as the first version's text boxes showed it.
std::u16string registryResultText(const RegistryResult& result);

} // namespace orvanta::form
