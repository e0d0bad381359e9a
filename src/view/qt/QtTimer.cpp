// The window's timer through Qt's event loop.
#include "QtTimer.h"

#include <utility>

namespace orvanta::view {

QtTimer::QtTimer()
{
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (auto expired = std::exchange(m_expired, nullptr))
            expired();
    });
}

void QtTimer::start(std::chrono::milliseconds delay, std::function<void()> expired)
{
    m_expired = std::move(expired);
    m_timer.start(delay);
}

void QtTimer::stop()
{
    m_timer.stop();
    m_expired = nullptr;
}

} // namespace orvanta::view
