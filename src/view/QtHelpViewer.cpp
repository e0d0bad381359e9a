#include "QtHelpViewer.h"

#include <QFile>
#include <QStringDecoder>

namespace orvanta::view {

using namespace Qt::StringLiterals;

QtHelpViewer::~QtHelpViewer()
{
    delete m_window.data();
}

bool QtHelpViewer::open(const std::string& hostPath)
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(hostPath)));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const auto bytes = file.readAll();
    if (bytes.contains('\0'))
        return false;
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return false;

    if (!m_window) {
        m_window = new QTextBrowser;
        m_window->setObjectName(u"helpWindow"_s);
        m_window->setWindowTitle(u"Orvanta ヘルプ"_s);
        m_window->setOpenExternalLinks(true);
        m_window->resize(600, 520);
    }
    m_window->setMarkdown(text);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return true;
}

} // namespace orvanta::view
