#pragma once

// Stands in for the Windows registry on Linux, which has none: a hive file exported by the Windows
// registry editor (or written by hand), so that a user can carry the values over from Windows.

#include "host/Registry.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace orvanta::host {

/// The registry of a host without one: a hive file in the text format the Windows registry editor
/// exports ("Windows Registry Editor Version 5.00" in UTF-16LE, "REGEDIT4" in the ANSI code page,
/// or UTF-8). Key paths and value names compare without regard to ASCII case, as on Windows.
///
/// The program identifies the machine by the Windows product ID. When the hive does not hold it,
/// the ID is derived from the host's machine identifier instead (keyed, so the raw identifier never
/// shows): stable on one machine, different on another.
class RegistryHive final : public Registry {
public:
    /// Reads the hive file at `hivePath`. A missing file gives a hive without values. A file that is
    /// there but cannot be read (no permission, not a regular file, too large, a dangling link) gives
    /// a hive without values too, and problem() says why: the product ID is then a fallback.
    /// `machineIdPath` names the host's machine identifier file; empty for none.
    explicit RegistryHive(const std::string& hivePath, const std::string& machineIdPath = "/etc/machine-id");

    /// A hive from the bytes of a hive file. Any bytes are accepted; lines that are not understood
    /// are skipped.
    static RegistryHive parse(std::string_view bytes, const std::string& machineIdPath = {});

    /// The hive file of this user: $ORVANTA_REGISTRY when set, else registry.reg in the
    /// configuration folder.
    static std::string defaultPath();

    std::optional<RegistryValue> queryValue(std::uint32_t root, std::u16string_view subKey,
                                            std::u16string_view valueName) const override;

    /// Why the product ID was not read from the hive file: the file could not be read, or its
    /// ProductId line is damaged (or gives a number or bytes instead of a text) and no later line gives
    /// the value.
    std::optional<RegistryProblem> problem() const override;

    /// How many values the hive file holds.
    std::size_t valueCount() const;

private:
    RegistryHive() = default;
    void load(std::string_view bytes);
    void readMachineId(const std::string& machineIdPath);

    using KeyName = std::pair<std::uint32_t, std::u16string>;
    std::map<KeyName, std::map<std::u16string, RegistryValue>> m_keys;
    std::optional<RegistryValue> m_productId;
    std::u16string m_source;
    /// What kept the file from being read.
    std::optional<std::u16string> m_fileProblem;
    /// The line of a ProductId value of the product key that could not be read, counting from 1.
    std::optional<std::size_t> m_damagedProductIdLine;
};

} // namespace orvanta::host
