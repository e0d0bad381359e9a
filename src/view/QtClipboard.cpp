#include "QtClipboard.h"

#include "QtText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace orvanta::view {

void QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setText(std::u16string_view text)
{
    QGuiApplication::clipboard()->setText(toQString(text));
}

} // namespace orvanta::view
