#pragma once

// The timer service of the Qt window.

#include "host/Timer.h"

#include <QTimer>
#include <functional>

namespace orvanta::view {

/// The window's timer through Qt's event loop. Needs a QCoreApplication when it starts.
class QtTimer final : public host::Timer {
public:
    QtTimer();
    void start(std::chrono::milliseconds delay, std::function<void()> expired) override;
    void stop() override;

private:
    QTimer m_timer;
    std::function<void()> m_expired;
};

} // namespace orvanta::view
