#pragma once

// The clipboard service of the Qt window.

#include "host/Clipboard.h"

#include <QMimeData>
#include <QPointer>

namespace orvanta::view {

/// The system clipboard through Qt. Needs a QGuiApplication. A password goes there with the hint
/// that KDE's and other clipboard managers read, so they keep it out of their history.
class QtClipboard final : public host::Clipboard {
public:
    void clear() override;
    void setText(std::u16string_view text) override;
    std::u16string text() const override;
    bool holdsOwnCopy() const override;

private:
    /// The data the last setText handed to the clipboard. The clipboard owns it and deletes it once
    /// anything else is put there, by this program or another; the pointer then turns null.
    QPointer<QMimeData> m_copy;
};

} // namespace orvanta::view
