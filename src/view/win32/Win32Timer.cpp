// The window's timer through SetTimer and WM_TIMER.
#include "Win32Timer.h"

#include <algorithm>
#include <commctrl.h>
#include <utility>

namespace orvanta::view_win32 {

namespace {

constexpr UINT_PTR kTimerId = 1;

} // namespace

Win32Timer::Win32Timer() = default;

Win32Timer::~Win32Timer()
{
    stop();
    if (m_window)
        RemoveWindowSubclass(m_window.get(), &Win32Timer::timerProc, kTimerId);
}

bool Win32Timer::makeWindow()
{
    // Made when the timer is first needed, not while the program starts, when every window made is a wait.
    if (m_window)
        return true;
    m_window.reset(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr));
    if (m_window && !SetWindowSubclass(m_window.get(), &Win32Timer::timerProc, kTimerId,
                                       reinterpret_cast<DWORD_PTR>(this)))
        m_window.reset();
    return m_window != nullptr;
}

void Win32Timer::start(std::chrono::milliseconds delay, std::function<void()> expired)
{
    if (!makeWindow())
        return;
    m_expired = std::move(expired);
    // A timer set again under the same identifier starts over with the new delay.
    const auto milliseconds = std::clamp<long long>(delay.count(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (!SetTimer(m_window.get(), kTimerId, static_cast<UINT>(milliseconds), nullptr))
        m_expired = nullptr;
}

void Win32Timer::stop()
{
    if (m_window)
        KillTimer(m_window.get(), kTimerId);
    m_expired = nullptr;
}

LRESULT CALLBACK Win32Timer::timerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        auto* timer = reinterpret_cast<Win32Timer*>(data);
        // Windows repeats a timer until it is killed; this one runs once.
        KillTimer(window, kTimerId);
        if (auto expired = std::exchange(timer->m_expired, nullptr))
            expired();
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace orvanta::view_win32
