#pragma once

// The help service of the Qt window.

#include "host/HelpViewer.h"

#include <QPointer>
#include <QTextBrowser>

namespace orvanta::view {

/// Shows the help in a window of its own, as the core read it from the help file; the Windows window
/// shows the same. Escape closes the window.
class QtHelpViewer final : public host::HelpViewer {
public:
    QtHelpViewer() = default;
    QtHelpViewer(const QtHelpViewer&) = delete;
    QtHelpViewer& operator=(const QtHelpViewer&) = delete;
    ~QtHelpViewer() override;

    bool show(const host::HelpDocument& help) override;

private:
    QPointer<QTextBrowser> m_window;
};

} // namespace orvanta::view
