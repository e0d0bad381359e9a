#pragma once

// A timer the test runs out by hand.

#include "host/Timer.h"

#include <utility>

namespace orvanta::test {

/// A timer whose time is up only when the test says so.
class FakeTimer final : public host::Timer {
public:
    void start(std::chrono::milliseconds delay, std::function<void()> expired) override
    {
        m_delay = delay;
        m_expired = std::move(expired);
    }
    void stop() override { m_expired = nullptr; }

    /// The delay of the run that is waiting; zero when none is.
    std::chrono::milliseconds waiting() const { return m_expired ? m_delay : std::chrono::milliseconds{}; }
    void expire()
    {
        if (auto expired = std::exchange(m_expired, nullptr))
            expired();
    }

private:
    std::chrono::milliseconds m_delay{};
    std::function<void()> m_expired;
};

} // namespace orvanta::test
