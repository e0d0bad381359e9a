// The block devices as libudev describes them: removable or not, and on which bus.
#include "host/linux/UdevBlockDevices.h"

#include <libudev.h>
#include <memory>
#include <string_view>

namespace orvanta::host {
namespace {

struct UdevUnref {
    void operator()(udev* context) const { udev_unref(context); }
    void operator()(udev_device* device) const { udev_device_unref(device); }
};

std::string_view text(const char* value)
{
    return value != nullptr ? std::string_view(value) : std::string_view();
}

} // namespace

bool isRemovableDisk(const DiskFacts& facts)
{
    return !facts.system && (facts.removable || facts.bus == "usb" || facts.sdCard);
}

std::optional<DiskFacts> UdevBlockDevices::disk(dev_t device) const
{
    const std::unique_ptr<udev, UdevUnref> context(udev_new());
    if (!context)
        return std::nullopt;
    const std::unique_ptr<udev_device, UdevUnref> found(
        udev_device_new_from_devnum(context.get(), 'b', device));
    if (!found)
        return std::nullopt;
    // Only the whole disk says whether it is removable; a partition's parent is its disk (owned by
    // the partition's record, so not freed here).
    udev_device* whole = found.get();
    if (text(udev_device_get_devtype(whole)) == "partition") {
        if (udev_device* parent = udev_device_get_parent_with_subsystem_devtype(whole, "block", "disk"))
            whole = parent;
    }
    const auto property = [&](const char* name) {
        const char* value = udev_device_get_property_value(found.get(), name);
        return text(value != nullptr ? value : udev_device_get_property_value(whole, name));
    };
    DiskFacts facts;
    facts.removable = text(udev_device_get_sysattr_value(whole, "removable")) == "1";
    facts.bus = std::string(property("ID_BUS"));
    facts.sdCard = property("ID_DRIVE_FLASH_SD") == "1" || property("ID_DRIVE_MEDIA_FLASH_SD") == "1";
    facts.system = property("UDISKS_SYSTEM") == "1";
    return facts;
}

} // namespace orvanta::host
