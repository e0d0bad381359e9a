#pragma once

// The registry service on Windows.

#include "host/Registry.h"

namespace orvanta::host {

/// The Windows registry, read through the ANSI query (RegOpenKeyExA / RegQueryValueExA), so a text
/// value comes back in the ANSI code page with its terminating NUL, as Registry says.
///
/// Keys are opened for reading only: the program never writes the registry, and a key opened for
/// more than reading is refused to every user who is not an administrator.
///
/// The registry is read as the program's earlier, 32-bit versions read it: through the 32-bit view
/// (KEY_WOW64_32KEY), which on 64-bit Windows lies under WOW6432Node and may hold another ProductId
/// than the 64-bit view. The key of every stored password came from that view. On 32-bit Windows it
/// is the only view.
class HostRegistry final : public Registry {
public:
    /// A ProductId that is there but is not a text value (a number, bytes...) gives no key: it is
    /// reported as damaged, with the key's place as regedit shows it.
    std::optional<RegistryProblem> problem() const override;
    std::optional<RegistryValue> queryValue(std::uint32_t root, std::u16string_view subKey,
                                            std::u16string_view valueName) const override;

private:
    std::optional<RegistryValue> readValue(std::uint32_t root, std::u16string_view subKey,
                                           std::u16string_view valueName) const;

    /// The product ID as the last query read it: problem() judges that answer rather than asking
    /// Windows again, so start-up reads the value once.
    mutable std::optional<std::optional<RegistryValue>> m_productId;
};

} // namespace orvanta::host
