#pragma once

// The widgets whose face to screen readers differs from what Qt gives their kind, and the one that
// hands each new message to a screen reader.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace orvanta::view {

/// Tells Qt's accessibility how to present the widgets below. Call once, before the window is made.
void installAccessibleWidgets();

/// To be called when `box` takes the focus, before it handles that. A box moves its cursor (and
/// selects its text after Tab) before Qt tells assistive tools of the focus: Orca then takes the box
/// for focused without a word, and never says what an empty box is. Until Qt has told of the focus,
/// the box's cursor and selection are not passed on; Orca reads them with the focus.
void tellFocusFirst(QObject* box);

/// A combo box that keeps the accessible name it was given whatever it shows: on Linux, Qt's own
/// combo box takes its text for its name, so that a screen reader would say "東京 combo box" and
/// never the caption. Its text is its value.
class NamedComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
};

/// A box that only shows a value: the password, the address, the message, the hidden storage. It
/// takes keystrokes like any box, for the window's KeyPress filter to refuse them; to assistive tools
/// it is read-only text, which they can read and select but never write.
class DisplayBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
};

/// A label that shows nothing (no caption): assistive tools are not told of it, as they would find
/// only an empty stop.
class BlankLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
};

/// Hands each new message of the window to screen readers, once, without moving the focus.
///
/// A screen reader presents a change of a text only in the control that has the focus; the message
/// box rarely has it. The notice is a status bar of no size that holds one notification, whose name
/// is the last message: Orca speaks a notification when it appears (without the word "notification"
/// inside a status bar), and reads the status bar again on request.
class MessageNotice : public QWidget {
    Q_OBJECT
public:
    explicit MessageNotice(QWidget* parent);
    ~MessageNotice() override;

    /// Presents `message` to screen readers now, also when it is the message presented last.
    void announce(const QString& message);
    /// The last message announced.
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace orvanta::view
