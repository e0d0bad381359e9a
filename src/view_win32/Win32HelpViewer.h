#pragma once

#include "Handles.h"
#include "platform/HelpViewer.h"

#include <optional>
#include <string>

namespace orvanta::view_win32 {

/// The help file in a window of the program's own: Windows no longer has a help program for it.
/// The file is UTF-8 text (a byte-order mark is passed over) and is shown as it is, read-only.
class Win32HelpViewer final : public platform::HelpViewer {
public:
    explicit Win32HelpViewer(HINSTANCE instance);
    Win32HelpViewer(const Win32HelpViewer&) = delete;
    Win32HelpViewer& operator=(const Win32HelpViewer&) = delete;

    /// Shows the file, in the help window already open or in a new one; false when the file cannot be
    /// read or is not UTF-8 text, and then nothing opens.
    bool open(const std::string& hostPath) override;

    /// The help window (null until the help was first shown) and its text box.
    HWND window() const { return m_window.get(); }
    HWND textBox() const { return m_text; }

    /// The text of a help file as the window shows it (lines ending in CR LF); nothing when the bytes
    /// are not UTF-8.
    static std::optional<std::u16string> shownText(std::string_view bytes);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool create();
    void layout();

    HINSTANCE m_instance;
    UniqueWindow m_window;
    HWND m_text = nullptr; // a child of m_window, destroyed with it
    UniqueFont m_font;
};

} // namespace orvanta::view_win32
