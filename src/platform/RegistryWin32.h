#pragma once

#include "platform/Registry.h"

namespace orvanta::platform {

/// The Windows registry, read through the ANSI query (RegOpenKeyExA / RegQueryValueExA), so a text
/// value comes back in the ANSI code page with its terminating NUL, as Registry says.
///
/// Keys are opened for reading only: the program never writes the registry, and a key opened for
/// more than reading is refused to every user who is not an administrator.
class RegistryWin32 final : public Registry {
public:
    std::optional<RegistryValue> queryValue(std::uint32_t root, std::u16string_view subKey,
                                            std::u16string_view valueName) const override;
};

} // namespace orvanta::platform
