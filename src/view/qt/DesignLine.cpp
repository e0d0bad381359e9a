// Drawing one of the window's frame lines.
#include "DesignLine.h"

#include <QPainter>
#include <QRect>

namespace orvanta::view {

DesignLine::DesignLine(QPoint from, QPoint to, QWidget* parent) : QWidget(parent), m_from(from), m_to(to)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // QRect's corners are inclusive, so a horizontal line is one pixel high, not zero.
    setGeometry(QRect(from, to).normalized());
}

void DesignLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.drawLine(m_from - pos(), m_to - pos());
}

} // namespace orvanta::view
