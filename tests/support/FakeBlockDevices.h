#pragma once

// Block devices as a test sets them up.

#include "host/BlockDevices.h"

#include <map>

namespace orvanta::test {

/// Disks as a test sets them up, by device number; any other number is unknown.
class FakeBlockDevices final : public host::BlockDevices {
public:
    void setDisk(dev_t device, host::DiskFacts facts) { m_disks[device] = std::move(facts); }

    std::optional<host::DiskFacts> disk(dev_t device) const override
    {
        const auto found = m_disks.find(device);
        return found == m_disks.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::map<dev_t, host::DiskFacts> m_disks;
};

} // namespace orvanta::test
