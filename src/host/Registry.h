#pragma once

// The registry service: one value read as the ANSI query returns it, for the product ID.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::host {

inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002;

inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

/// One registry value as the ANSI query returns it: a text value is its bytes in the ANSI code page
/// with the terminating NUL; a number is four little-endian bytes.
struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

/// Why the values of a registry are not what its source holds: the source is there but could not be
/// read, or the product ID in it is damaged. Values that rest on it then come from a fallback.
struct RegistryProblem {
    std::u16string source; ///< the place the values come from, as the user knows it (a file's path)
    /// What is wrong, and where, in one short sentence ending in "。" ("registry.reg の 3 行目が壊れて
    /// います。"): the start-up message carries it whole.
    std::u16string what;
};

/// Read-only access to the registry.
class Registry {
public:
    virtual ~Registry() = default;

    /// Why the product ID could not be read from where it lies, so that the one given is a fallback;
    /// nothing when it was read, or when there is nothing to read it from.
    virtual std::optional<RegistryProblem> problem() const { return std::nullopt; }

    /// The value, or nothing when the key or the value does not exist or cannot be opened.
    virtual std::optional<RegistryValue> queryValue(std::uint32_t root, std::u16string_view subKey,
                                                    std::u16string_view valueName) const = 0;
};

} // namespace orvanta::host
