#pragma once

// Stands in for the drives of Windows on Linux, which has no drive letters: the letters are links to
// folders (as Wine makes them), and the sticks and cards the desktop mounts are removable drives.

#include "host/BlockDevices.h"
#include "host/Drives.h"
#include "host/Registry.h"

#include <string>
#include <vector>

namespace orvanta::host {

/// /media/<user> and /run/media/<user>, where udisks mounts the user's sticks and cards.
std::vector<std::string> defaultMediaFolders();

/// Where the desktop's mounts are found.
struct DesktopMounts {
    /// The kernel's mount table in the mountinfo format.
    std::string table = "/proc/self/mountinfo";
    /// The folders in which the desktop mounts the user's removable disks.
    std::vector<std::string> mediaFolders = defaultMediaFolders();
};

/// Drive letters on a host without them.
///
/// The letters the user sets up are mapped as the Windows compatibility layers on this host map them:
/// a folder of drive links holds an entry "a:" ... "z:" (a symbolic link or a folder) for each drive,
/// and the entry is the drive's root. A drive's type comes from the registry value
/// HKEY_LOCAL_MACHINE\Software\Wine\Drives\<letter>: ("floppy", "hd", "cdrom", "network"); without
/// one, a drive whose folder lies on a removable disk is removable (a floppy drive at A: or B:), any
/// other fixed.
///
/// A USB stick or an SD card that the desktop has mounted (under /media/<user> or /run/media/<user>)
/// is a removable drive too, without any set-up: the sticks take the first letters from D: on that the
/// folder of drive links does not define, in the order they were mounted. A mount already reached
/// through a link keeps that link's letter only.
class DriveLinks final : public Drives {
public:
    using Mounts = DesktopMounts;

    /// `dosdevices` is the folder of drive links (see defaultDosdevices()); `registry` holds the drive
    /// types and `devices` tells removable disks; both must outlive this object. `home` replaces the
    /// user's home folder, the current drive when there is no drive C:.
    DriveLinks(std::string dosdevices, const Registry& registry, const BlockDevices& devices,
               Mounts mounts = {}, std::string home = {});

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
    std::optional<std::string> linkedRoot(char letter) const;
    /// The mount points of the mounted removable disks that get a letter of their own, by letter.
    std::vector<std::pair<char, std::string>> mountedDrives() const;

    std::string m_dosdevices;
    const Registry& m_registry;
    const BlockDevices& m_devices;
    Mounts m_mounts;
    std::string m_home;
};

} // namespace orvanta::host
