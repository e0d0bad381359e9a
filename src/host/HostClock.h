#pragma once

// The clock service of the real host.

#include "host/Clock.h"

namespace orvanta::host {

/// The host's clock in the user's local time zone.
class HostClock final : public Clock {
public:
    LocalTime now() const override;
};

} // namespace orvanta::host
