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
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setText(std::u16string_view text)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(toQString(text));
    data->setData(u"x-kde-passwordManagerHint"_s, "secret");
    QGuiApplication::clipboard()->setMimeData(data.release());
}

std::u16string QtClipboard::text() const
{
    return toU16(QGuiApplication::clipboard()->text());
}

} // namespace orvanta::view
