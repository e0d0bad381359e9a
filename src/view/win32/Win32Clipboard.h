#pragma once

// The clipboard service of the Windows window.

#include "Handles.h"
#include "host/Clipboard.h"

#include <optional>

namespace orvanta::view_win32 {

/// The Windows clipboard. A password goes there as CF_UNICODETEXT together with the formats that ask
/// Windows and clipboard tools to keep it out of the clipboard history, out of the cloud clipboard and
/// away from clipboard monitors and viewers.
class Win32Clipboard final : public host::Clipboard {
public:
    Win32Clipboard();

    void clear() override;
    void setText(std::u16string_view text) override;
    std::u16string text() const override;
    bool holdsOwnCopy() const override;

    /// The names of the formats that mark the text as a secret.
    static constexpr const wchar_t* kExcludeFromMonitors = L"ExcludeClipboardContentFromMonitorProcessing";
    static constexpr const wchar_t* kHistory = L"CanIncludeInClipboardHistory";
    static constexpr const wchar_t* kCloud = L"CanUploadToCloudClipboard";
    /// The older mark that clipboard viewers and history tools honour.
    static constexpr const wchar_t* kViewerIgnore = L"Clipboard Viewer Ignore";

private:
    /// Opens the clipboard for `owner` (none to empty or read it), waiting briefly while another program
    /// holds it open.
    static bool open(HWND owner);

    /// The clipboard's owner once a text was put there: Windows takes data only from a clipboard opened
    /// by a window.
    UniqueWindow m_owner;
    /// The clipboard's sequence number once the last setText had put its text there; nothing after a
    /// clear or when setText could not open the clipboard.
    std::optional<DWORD> m_sequence;
};

} // namespace orvanta::view_win32
