// The clipboard through Qt, with the hint that keeps a password out of clipboard managers' history.
#include "QtClipboard.h"

#include "QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

using namespace Qt::StringLiterals;

namespace orvanta::view {

void QtClipboard::clear()
{
    m_copy.clear();
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setText(std::u16string_view text)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(toQString(text));
    data->setData(u"x-kde-passwordManagerHint"_s, "secret");
    m_copy = data.get();
    QGuiApplication::clipboard()->setMimeData(data.release());
}

bool QtClipboard::holdsOwnCopy() const
{
    // The clipboard hands back the program's own data only while the system clipboard is still the
    // program's (on X it asks the server who owns the clipboard at this moment), and deletes it once
    // anything else is put there. ownsClipboard() would say less: on X it learns of another program's
    // copy only once that event has been handled, and where the clipboard lives inside the program
    // alone (the offscreen platform) it never says yes.
    return m_copy && QGuiApplication::clipboard()->mimeData() == m_copy.data();
}

std::u16string QtClipboard::text() const
{
    return toU16(QGuiApplication::clipboard()->text());
}

} // namespace orvanta::view
