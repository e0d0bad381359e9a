#pragma once

// What the window tells screen readers beyond what the system's controls say of themselves: the name of
// each control, and that the message box is a live region whose new messages are read out.

#include "Handles.h"

#include <oleacc.h>
#include <string_view>

namespace orvanta::view_win32 {

/// UI Automation's LiveSetting property as an annotation of Active Accessibility, and its value Polite:
/// the region's news is read once the reader has finished what it is saying. Windows 8 and later read
/// it; mingw-w64's headers have neither the property's identifier nor the values.
inline constexpr GUID kLiveSettingProperty{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
inline constexpr LONG kLiveSettingPolite = 1;
/// The event that tells assistive tools a live region shows something new (winuser.h has it only for
/// Windows 8 and later).
inline constexpr DWORD kLiveRegionChanged = 0x8019;

/// The system's annotation service (IAccPropServices), through which a window gives its controls
/// properties that Active Accessibility and UI Automation report instead of the control's own: a
/// screen reader reads a box by the name given here. COM is started for the calling thread while the
/// object lives. Where the service is missing or refuses (Wine implements none of it), nothing is
/// annotated and the controls keep what they say of themselves.
class Annotations {
public:
    Annotations();
    ~Annotations();
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    /// Gives `control` the name a screen reader reads for it.
    void name(HWND control, std::u16string_view name);
    /// Makes `control` a polite live region: what announceNews() says of it is read out, whatever has
    /// the focus.
    void makeLive(HWND control);
    /// Takes every annotation off `control` again, before it goes.
    void clear(HWND control);

private:
    IAccPropServices* m_service = nullptr;
    bool m_comStarted = false;
};

/// Tells assistive tools that the live region `control` shows something new, to be read out again even
/// when it is the same as before.
void announceNews(HWND control);

} // namespace orvanta::view_win32
