#pragma once

#include "platform/Timer.h"

#include <optional>
#include <utility>

namespace orvanta::test {

/// A timer that runs only when the test says the time is up.
class FakeTimer final : public platform::Timer {
public:
    void start(std::chrono::milliseconds delay, std::function<void()> expired) override
    {
        m_delay = delay;
        m_expired = std::move(expired);
    }
    void stop() override { m_expired = nullptr; }

    /// The delay of the run that is waiting; nothing when none is.
    std::optional<std::chrono::milliseconds> waiting() const
    {
        return m_expired ? std::optional(m_delay) : std::nullopt;
    }
    /// The time is up: the waiting run, if any, runs now.
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
