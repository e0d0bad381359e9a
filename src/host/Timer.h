#pragma once

// The timer service: runs a task between two of the window's events, such as clearing the clipboard.

#include <chrono>
#include <functional>

namespace orvanta::host {

/// One timer of the window's thread. What it runs, it runs between two of the window's events, never
/// inside one.
class Timer {
public:
    virtual ~Timer() = default;
    /// Runs `expired` once, when `delay` has passed. A start before then takes the place of the run
    /// that was waiting.
    virtual void start(std::chrono::milliseconds delay, std::function<void()> expired) = 0;
    /// Drops the run that is waiting, if there is one.
    virtual void stop() = 0;
};

} // namespace orvanta::host
