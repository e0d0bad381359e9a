#pragma once

// The block device service on Linux, through libudev.

#include "host/BlockDevices.h"

namespace orvanta::host {

/// The block devices as udev knows them (libudev), which is where the desktop learns that a disk is
/// removable: the kernel's attributes of the disk and the properties udev's rules give it.
class UdevBlockDevices final : public BlockDevices {
public:
    std::optional<DiskFacts> disk(dev_t device) const override;
};

} // namespace orvanta::host
