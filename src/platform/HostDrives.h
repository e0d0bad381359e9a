#pragma once

#include "platform/Drives.h"
#include "platform/Registry.h"

#include <string>

namespace orvanta::platform {

/// Drive letters on a host without them, mapped as the Windows compatibility layers on this host
/// map them: a folder of drive links holds an entry "a:" ... "z:" (a symbolic link or a folder) for
/// each drive, and the entry is the drive's root.
///
/// A drive's type comes from the registry value HKEY_LOCAL_MACHINE\Software\Wine\Drives\<letter>:
/// ("floppy", "hd", "cdrom", "network"); without one, a drive whose folder lies on a removable disk
/// is removable, any other fixed.
class HostDrives final : public Drives {
public:
    /// `dosdevices` is the folder of drive links (see defaultDosdevices()); `registry` holds the drive
    /// types and must outlive this object; `sysRoot` is where the kernel's device tree is mounted;
    /// `home` replaces the user's home folder, the current drive when there is no drive C:.
    HostDrives(std::string dosdevices, const Registry& registry, std::string sysRoot = "/sys",
               std::string home = {});

    /// $ORVANTA_DOSDEVICES when set, else dosdevices in the configuration folder.
    static std::string defaultDosdevices();

    std::uint32_t GetDriveTypeA(std::string_view rootPath) const override;
    std::u16string displayName(std::string_view rootPath) const override;
    std::optional<std::string> root(char letter) const override;
    /// Drive C:'s root when there is a drive C:, else the user's home folder.
    std::string currentDriveRoot() const override;

private:
    enum class Kind { None, Floppy, Removable, Fixed, Cdrom, Remote };
    Kind kind(char letter) const;
    bool onRemovableDisk(const std::string& folder) const;

    std::string m_dosdevices;
    const Registry& m_registry;
    std::string m_sysRoot;
    std::string m_home;
};

} // namespace orvanta::platform
