// The help's window in Qt: the guide as the core reads it, shown in a text browser.
#include "QtHelpViewer.h"

#include "QtText.h"
#include "app/HelpText.h"

#include <QFile>
#include <QKeySequence>
#include <QShortcut>
#include <algorithm>

namespace orvanta::view {

using namespace Qt::StringLiterals;

namespace {

QString htmlOf(const std::vector<app::HelpRun>& runs)
{
    QString html;
    for (const auto& run : runs) {
        const QString text = toQString(run.text).toHtmlEscaped();
        if (run.style == app::HelpStyle::Strong)
            html += u"<b>"_s + text + u"</b>"_s;
        else if (run.style == app::HelpStyle::Code)
            html += u"<code>"_s + text + u"</code>"_s;
        else
            html += text;
    }
    return html;
}

/// The help as the core reads it, in the markup the text browser shows: consecutive items form one list.
QString htmlOf(const std::vector<app::HelpBlock>& blocks)
{
    using Kind = app::HelpBlockKind;
    QString html;
    const app::HelpBlock* previous = nullptr;
    for (const auto& block : blocks) {
        const bool listContinues = previous && previous->kind == block.kind;
        if (previous && !listContinues && previous->kind == Kind::BulletItem)
            html += u"</ul>"_s;
        if (previous && !listContinues && previous->kind == Kind::NumberedItem)
            html += u"</ol>"_s;
        switch (block.kind) {
        case Kind::Heading: {
            const QString tag = u"h"_s + QString::number(std::clamp(block.level, 1, 6));
            html += u"<"_s + tag + u">"_s + htmlOf(block.runs) + u"</"_s + tag + u">"_s;
            break;
        }
        case Kind::Paragraph:
            html += u"<p>"_s + htmlOf(block.runs) + u"</p>"_s;
            break;
        case Kind::BulletItem:
            html += (listContinues ? QString() : u"<ul>"_s) + u"<li>"_s + htmlOf(block.runs) + u"</li>"_s;
            break;
        case Kind::NumberedItem:
            if (!listContinues)
                html += u"<ol start=\""_s + QString::number(block.number) + u"\">"_s;
            html += u"<li>"_s + htmlOf(block.runs) + u"</li>"_s;
            break;
        case Kind::Preformatted:
            html += u"<pre>"_s + htmlOf(block.runs) + u"</pre>"_s;
            break;
        }
        previous = &block;
    }
    if (previous && previous->kind == Kind::BulletItem)
        html += u"</ul>"_s;
    if (previous && previous->kind == Kind::NumberedItem)
        html += u"</ol>"_s;
    return html;
}

} // namespace

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
    const auto blocks =
        app::readHelpFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!blocks)
        return false;

    if (!m_window) {
        m_window = new QTextBrowser;
        m_window->setObjectName(u"helpWindow"_s);
        m_window->setWindowTitle(u"Orvanta ヘルプ"_s);
        m_window->setOpenExternalLinks(true);
        m_window->resize(600, 520);
        // Escape closes the help, as it closes a dialog.
        auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), m_window);
        QObject::connect(close, &QShortcut::activated, m_window.data(), &QWidget::close);
    }
    m_window->setHtml(htmlOf(*blocks));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return true;
}

} // namespace orvanta::view
