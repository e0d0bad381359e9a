#pragma once

// A clock that shows the time a test gives it.

#include "host/Clock.h"

namespace orvanta::test {

/// A clock that shows the time a test gives it, by default 2024-04-01 12:34:56.
class FakeClock final : public host::Clock {
public:
    explicit FakeClock(host::LocalTime time = {2024, 4, 1, 12, 34, 56}) : m_time(time) {}
    void set(host::LocalTime time) { m_time = time; }
    host::LocalTime now() const override { return m_time; }

private:
    host::LocalTime m_time;
};

} // namespace orvanta::test
