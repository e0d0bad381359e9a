#pragma once

// A frame line of the window's design as a widget that lets the mouse through.

#include <QPoint>
#include <QWidget>

namespace orvanta::view {

/// A line of the window's design, drawn one pixel wide between its two end points. The widget covers
/// just the line's bounding box and lets every mouse event through to what lies beneath.
class DesignLine : public QWidget {
    Q_OBJECT
public:
    /// The end points are in the window's client coordinates.
    DesignLine(QPoint from, QPoint to, QWidget* parent);

    QPoint from() const { return m_from; }
    QPoint to() const { return m_to; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint m_from;
    QPoint m_to;
};

} // namespace orvanta::view
