#pragma once

// The help service of the Qt window.

#include "platform/HelpViewer.h"

#include <QPointer>
#include <QTextBrowser>

namespace orvanta::view {

/// Shows the help file in a window of its own, as the core reads our short guide in UTF-8 Markdown
/// (app::readHelpFile, which the Windows window shows too); anything else (an old binary WinHelp file,
/// a file in another encoding) is refused, so the window can say that the help cannot be shown.
/// Escape closes the window.
class QtHelpViewer final : public platform::HelpViewer {
public:
    QtHelpViewer() = default;
    QtHelpViewer(const QtHelpViewer&) = delete;
    QtHelpViewer& operator=(const QtHelpViewer&) = delete;
    ~QtHelpViewer() override;

    bool open(const std::string& hostPath) override;

private:
    QPointer<QTextBrowser> m_window;
};

} // namespace orvanta::view
