#pragma once

// What the system knows of a disk behind a mounted folder, to tell a removable drive from a fixed one.

#include <optional>
#include <string>
#include <sys/types.h>

namespace orvanta::host {

/// What the desktop's device manager knows of the disk that holds a block device.
struct DiskFacts {
    /// The kernel's "removable" flag of the whole disk: card readers and many sticks carry it.
    bool removable = false;
    /// The bus the disk hangs on (udev's ID_BUS): "usb", "ata", "scsi", ...
    std::string bus;
    /// An SD card (udev's and udisks' ID_DRIVE_FLASH_SD or ID_DRIVE_MEDIA_FLASH_SD): a card in a
    /// built-in reader is often not flagged removable.
    bool sdCard = false;
    /// The administrator marked the disk as the system's own (udisks' UDISKS_SYSTEM=1).
    bool system = false;
};

/// The block devices of this host, as the desktop's device manager sees them.
class BlockDevices {
public:
    virtual ~BlockDevices() = default;
    /// The facts of the disk that holds block device `device` (a partition or a whole disk), or
    /// nothing when the device manager does not know the number.
    virtual std::optional<DiskFacts> disk(dev_t device) const = 0;
};

/// Whether a disk is one the user plugs in and takes away: a USB disk or stick, an SD card, or a disk
/// the kernel calls removable, unless the administrator marked it as the system's.
bool isRemovableDisk(const DiskFacts& facts);

} // namespace orvanta::host
