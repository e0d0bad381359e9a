#pragma once

// The timer service of the Windows window.

#include "Handles.h"
#include "host/Timer.h"

namespace orvanta::view_win32 {

/// The window's timer through Windows' own (SetTimer): its WM_TIMER arrives in the thread's message
/// loop like any other message, between two of the window's events.
class Win32Timer final : public host::Timer {
public:
    Win32Timer();
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    void start(std::chrono::milliseconds delay, std::function<void()> expired) override;
    void stop() override;

private:
    /// The window for the timer's messages, made on first use; false when Windows refused it.
    bool makeWindow();
    static LRESULT CALLBACK timerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclass, DWORD_PTR data);

    /// The window the timer's messages go to: a message-only window, seen by nobody.
    UniqueWindow m_window;
    std::function<void()> m_expired;
};

} // namespace orvanta::view_win32
