// What screen readers are told of the widgets Qt would present otherwise than the window means them,
// and the notice that hands them every new message.
#include "AccessibleWidgets.h"

#include "DesignLine.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPointer>
#include <QWindow>

namespace orvanta::view {

using namespace Qt::StringLiterals;

namespace {

/// The destination box: its caption as its name, its text as its value, the list and the text as
/// its two children, as Qt's own combo box has them.
class NamedComboBoxAccessible : public QAccessibleWidget {
public:
    explicit NamedComboBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    int childCount() const override { return box()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->lineEdit())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (child->object() == box()->view())
            return 0;
        return box()->lineEdit() && child->object() == box()->lineEdit() ? 1 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        auto* text = child(1);
        return text && text->rect().contains(x, y) ? text : nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.editable = box()->isEditable();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

/// A box that only shows a value: its text to read and select, and nothing to write with. Qt's own line
/// edit tells assistive tools that every box is editable, and writes what they insert.
class DisplayBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit DisplayBoxAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? box()->text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        s.selectableText = true;
        return s;
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && box()->hasSelectedText()) {
            *start = box()->selectionStart();
            *end = box()->selectionEnd();
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            box()->deselect();
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            box()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        return start > end ? QString() : box()->text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(box()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QString text = box()->text();
        if (offset < 0 || offset >= text.size())
            return {};
        // The cursor's place is the one the box tells (it knows how far its text is scrolled); a
        // character stands as far from it as the text between them is wide.
        const QFontMetrics metrics(box()->font());
        const QRect cursor = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = cursor.center().x() + metrics.horizontalAdvance(text.left(offset)) -
                      metrics.horizontalAdvance(text.left(box()->cursorPosition()));
        const QRect character(x, cursor.center().y() - metrics.height() / 2,
                              metrics.horizontalAdvance(text.mid(offset, 1)), metrics.height());
        return {box()->mapToGlobal(character.topLeft()), character.size()};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override
    {
        box()->setCursorPosition(end);
        box()->setCursorPosition(start);
    }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
};

/// A widget that is there for the eye only.
class UnseenAccessible : public QAccessibleWidget {
public:
    explicit UnseenAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StaticText) {}
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        return s;
    }
};

/// The notification inside the notice: its name is the last message.
class NoticeTextAccessible : public QAccessibleInterface {
public:
    explicit NoticeTextAccessible(MessageNotice* notice) : m_notice(notice) {}

    bool isValid() const override { return !m_notice.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_notice ? m_notice->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_notice.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && m_notice ? m_notice->message() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invalid = !isValid();
        return s;
    }

private:
    QPointer<MessageNotice> m_notice;
};

/// The notice: a status bar with the notification as its one child.
class MessageNoticeAccessible : public QAccessibleWidget {
public:
    explicit MessageNoticeAccessible(MessageNotice* notice)
        : QAccessibleWidget(notice, QAccessible::StatusBar)
    {
    }
    ~MessageNoticeAccessible() override
    {
        if (m_textId != 0)
            QAccessible::deleteAccessibleInterface(m_textId);
    }
    MessageNoticeAccessible(const MessageNoticeAccessible&) = delete;
    MessageNoticeAccessible& operator=(const MessageNoticeAccessible&) = delete;

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override { return index == 0 ? noticeText() : nullptr; }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child != nullptr && child == noticeText() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

private:
    QAccessibleInterface* noticeText() const
    {
        if (m_textId == 0)
            m_textId = QAccessible::registerAccessibleInterface(
                new NoticeTextAccessible(static_cast<MessageNotice*>(widget())));
        return QAccessible::accessibleInterface(m_textId);
    }

    mutable QAccessible::Id m_textId = 0;
};

QAccessibleInterface* accessibleWidget(const QString& className, QObject* object)
{
    const auto is = [&className](const QMetaObject& meta) {
        return className == QLatin1StringView(meta.className());
    };
    if (is(NamedComboBox::staticMetaObject))
        return new NamedComboBoxAccessible(static_cast<NamedComboBox*>(object));
    if (is(DisplayBox::staticMetaObject))
        return new DisplayBoxAccessible(static_cast<DisplayBox*>(object));
    if (is(BlankLabel::staticMetaObject))
        return new UnseenAccessible(static_cast<QWidget*>(object));
    if (is(DesignLine::staticMetaObject))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Separator);
    if (is(MessageNotice::staticMetaObject))
        return new MessageNoticeAccessible(static_cast<MessageNotice*>(object));
    return nullptr;
}

// Qt takes its handler of assistive tools' events as a plain function: what it needs to know lives here.
/// The box taking the focus, until Qt tells assistive tools of it.
QPointer<QObject> focusing;
/// Where assistive tools' events went before the window's own handler came in.
QAccessible::UpdateHandler passedTo = nullptr;

void passOn(QAccessibleEvent* event)
{
    if (focusing && event->object() == focusing) {
        if (event->type() == QAccessible::TextCaretMoved ||
            event->type() == QAccessible::TextSelectionChanged)
            return;
        if (event->type() == QAccessible::Focus)
            focusing = nullptr;
    }
    if (passedTo) {
        passedTo(event);
        return;
    }
    // On to the platform, which Qt hands an event to when no handler is in. A list's change of rows
    // went to its entries before the handler was called, and no platform presents it: it stops here,
    // so that it is not applied twice.
    if (event->type() == QAccessible::TableModelChanged)
        return;
    const QAccessible::UpdateHandler self = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(self);
}

} // namespace

void installAccessibleWidgets()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleWidget);
        passedTo = QAccessible::installUpdateHandler(passOn);
        return true;
    }();
    Q_UNUSED(installed);
}

void tellFocusFirst(QObject* box)
{
    if (!QAccessible::isActive())
        return;
    focusing = box;
    // Should Qt not tell of this focus, the box's news go on as soon as the focus has moved.
    QMetaObject::invokeMethod(
        box,
        [box] {
            if (focusing == box)
                focusing = nullptr;
        },
        Qt::QueuedConnection);
}

MessageNotice::MessageNotice(QWidget* parent) : QWidget(parent)
{
    // Nothing to see, click or reach with Tab.
    setObjectName(u"MessageNotice"_s);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(0, 0);
}

MessageNotice::~MessageNotice() = default;

void MessageNotice::announce(const QString& message)
{
    m_message = message;
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(this)->child(0);
    // The name first, so that a screen reader that keeps names reads the new one; then the
    // notification appears again, which is what a screen reader speaks.
    QAccessibleEvent named(text, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent shown(text, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace orvanta::view
