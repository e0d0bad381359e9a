#pragma once

// The help service of the Windows window.

#include "Handles.h"
#include "form/HelpText.h"
#include "host/HelpViewer.h"

#include <string>
#include <vector>

namespace orvanta::view_win32 {

/// The help in a window of the program's own: Windows no longer has a help program for it.
/// A read-only rich-edit box shows the guide as the core reads it (headings, lists, strong text, flowing
/// paragraphs), as the Linux window does. Escape closes the window.
class Win32HelpViewer final : public host::HelpViewer {
public:
    explicit Win32HelpViewer(HINSTANCE instance);
    Win32HelpViewer(const Win32HelpViewer&) = delete;
    Win32HelpViewer& operator=(const Win32HelpViewer&) = delete;

    /// Shows the help, in the help window already open or in a new one; false when the window or its
    /// rich-edit box cannot be made.
    bool show(const host::HelpDocument& help) override;

    /// The help window (null until the help was first shown) and its text box.
    HWND window() const { return m_window.get(); }
    HWND textBox() const { return m_text; }

    /// The help as rich text for the box: all of it ASCII, Japanese written as character codes, the text
    /// in `face` (the design's face on this machine) and the `code` in the fixed-pitch Gothic. With
    /// `markBreaks`, a hidden space stands wherever a line of Japanese may break (Wine's box).
    static std::string richText(const host::HelpDocument& blocks, std::u16string_view face, bool markBreaks);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK textProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclass,
                                     DWORD_PTR data);
    bool create();
    void layout();

    HINSTANCE m_instance;
    UniqueWindow m_window;
    HWND m_text = nullptr;     // a child of m_window, destroyed with it
    std::u16string m_face;     // the design's face, found when the window is made
    bool m_markBreaks = false; // whether the box needs to be told where Japanese may break
};

} // namespace orvanta::view_win32
