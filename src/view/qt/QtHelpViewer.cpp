// The help's window in Qt: the guide as the core reads it, shown in a text browser.
#include "QtHelpViewer.h"

#include "Fonts.h"
#include "QtText.h"

#include <QKeySequence>
#include <QShortcut>
#include <algorithm>

namespace orvanta::view {

using namespace Qt::StringLiterals;

namespace {

using host::HelpBlock;
using host::HelpBlockKind;
using host::HelpStyle;

/// The most items a list of the text browser's own holds. The browser marks every item of a list anew
/// for each item added to it, so a list of many thousand items would keep the window busy for minutes:
/// a longer list, or one that does not start at 1, is shown as indented lines, each beginning with its
/// mark. No list of a guide comes near this.
constexpr std::size_t kItemsPerList = 64;

/// The size of the help's text.
constexpr double kHelpPoints = 10;

void appendRuns(QString& html, const std::vector<host::HelpRun>& runs)
{
    for (const auto& run : runs) {
        const QString text = toQString(run.text).toHtmlEscaped();
        if (run.style == HelpStyle::Strong)
            html += u"<b>"_s + text + u"</b>"_s;
        else if (run.style == HelpStyle::Code)
            html += u"<code>"_s + text + u"</code>"_s;
        else
            html += text;
    }
}

bool isItem(HelpBlockKind kind)
{
    return kind == HelpBlockKind::BulletItem || kind == HelpBlockKind::NumberedItem;
}

/// The help in the markup the text browser shows, built in one pass: consecutive items of one kind
/// form one list. Indented lines keep their spaces and line breaks but wrap at the window's edge, as
/// the Windows window wraps them.
QString htmlOf(const host::HelpDocument& blocks)
{
    QString html;
    for (std::size_t i = 0; i < blocks.size();) {
        const HelpBlock& block = blocks[i];
        if (isItem(block.kind)) {
            std::size_t end = i + 1;
            while (end < blocks.size() && blocks[end].kind == block.kind)
                ++end;
            const bool bullets = block.kind == HelpBlockKind::BulletItem;
            // The browser numbers every list of its own from 1, whatever number it starts with.
            const bool own = end - i <= kItemsPerList && (bullets || block.number == 1);
            if (own)
                html += bullets ? u"<ul>"_s : u"<ol>"_s;
            for (; i < end; ++i) {
                if (own)
                    html += u"<li>"_s;
                else
                    html += u"<p style=\"margin: 0px 0px 0px 40px\">"_s +
                            (bullets ? u"• "_s : QString::number(blocks[i].number) + u". "_s);
                appendRuns(html, blocks[i].runs);
                html += own ? u"</li>"_s : u"</p>"_s;
            }
            if (own)
                html += bullets ? u"</ul>"_s : u"</ol>"_s;
            continue;
        }
        switch (block.kind) {
        case HelpBlockKind::Heading: {
            const QString tag = u"h"_s + QString::number(std::clamp(block.level, 1, 6));
            html += u"<"_s + tag + u">"_s;
            appendRuns(html, block.runs);
            html += u"</"_s + tag + u">"_s;
            break;
        }
        case HelpBlockKind::Preformatted:
            html += u"<pre style=\"white-space: pre-wrap\">"_s;
            appendRuns(html, block.runs);
            html += u"</pre>"_s;
            break;
        case HelpBlockKind::Paragraph:
        case HelpBlockKind::BulletItem:
        case HelpBlockKind::NumberedItem:
            html += u"<p>"_s;
            appendRuns(html, block.runs);
            html += u"</p>"_s;
            break;
        }
        ++i;
    }
    return html;
}

} // namespace

QtHelpViewer::~QtHelpViewer()
{
    delete m_window.data();
}

bool QtHelpViewer::show(const host::HelpDocument& help)
{
    if (!m_window) {
        m_window = new QTextBrowser;
        m_window->setObjectName(u"helpWindow"_s);
        m_window->setWindowTitle(u"Orvanta ヘルプ"_s);
        // The help holds no link, and a click never leads anywhere.
        m_window->setOpenLinks(false);
        // The design's face, at the size the Windows help shows its text in.
        m_window->setFont(designFont(kHelpPoints, false));
        m_window->resize(600, 520);
        // Escape closes the help, as it closes a dialog.
        auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), m_window);
        QObject::connect(close, &QShortcut::activated, m_window.data(), &QWidget::close);
    }
    m_window->setHtml(htmlOf(help));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return true;
}

} // namespace orvanta::view
