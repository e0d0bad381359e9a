// The Qt window: widgets built from the design table, each event sent to the core, the core's state
// shown back after every one.
#include "WindowView.h"

#include "AccessibleWidgets.h"
#include "DesignColours.h"
#include "DesignLine.h"
#include "Fonts.h"
#include "QtText.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <utility>

namespace orvanta::view {

using namespace Qt::StringLiterals;
using form::clickHandler;
using form::ControlDesign;
using form::ControlId;
using form::ControlKind;
using form::isTypedBox;
using form::keyPressHandler;
using form::MainWindow;

namespace {

int pixels(int twips)
{
    return twips / form::kTwipsPerPixel;
}

QRect placeOf(const ControlDesign& d)
{
    return {pixels(d.place.left), pixels(d.place.top), pixels(d.place.width), pixels(d.place.height)};
}

/// The ID list. At a scale between whole numbers (150 %) its inside would be drawn over the bottom line
/// of its frame, which then vanishes: the inside keeps a pixel above that line free.
class IdList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void showEvent(QShowEvent* event) override
    {
        const double ratio = devicePixelRatioF();
        setViewportMargins(0, 0, 0, ratio == std::floor(ratio) ? 0 : 1);
        QListWidget::showEvent(event);
    }
};

/// A caption wider than its label is drawn a little smaller rather than cut off.
void fitCaption(QWidget* label, const QString& caption)
{
    QFont font = label->font();
    const double designed = font.pointSizeF();
    const double fitted =
        form::fittedCaptionPoints(designed, label->width(), [&font, &caption](double points) {
            font.setPointSizeF(points);
            return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(caption)));
        });
    if (fitted != designed) {
        font.setPointSizeF(fitted);
        label->setFont(font);
    }
}

/// The editing shortcuts users expect of every box. They are commands to the box, not keystrokes: a
/// paste brings text that no filter examines.
bool isEditingShortcut(const QKeyEvent& key)
{
    for (auto shortcut : {QKeySequence::Copy, QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo,
                          QKeySequence::Redo, QKeySequence::SelectAll})
        if (key.matches(shortcut))
            return true;
    return false;
}

/// Selecting by keys, done through the box's own calls: the box's handling of the keys would also
/// copy the selection to X's primary selection. True when the key selects.
bool selectByKeys(QLineEdit* box, const QKeyEvent& key)
{
    using Key = QKeySequence::StandardKey;
    const auto any = [&key](std::initializer_list<Key> keys) {
        return std::any_of(keys.begin(), keys.end(), [&key](Key k) { return key.matches(k); });
    };
    if (any({Key::SelectAll}))
        box->selectAll();
    else if (any({Key::SelectNextChar}))
        box->cursorForward(true);
    else if (any({Key::SelectPreviousChar}))
        box->cursorBackward(true);
    else if (any({Key::SelectNextWord}))
        box->cursorWordForward(true);
    else if (any({Key::SelectPreviousWord}))
        box->cursorWordBackward(true);
    else if (any({Key::SelectStartOfLine, Key::SelectStartOfBlock, Key::SelectStartOfDocument,
                  Key::SelectPreviousLine}))
        box->home(true);
    else if (any({Key::SelectEndOfLine, Key::SelectEndOfBlock, Key::SelectEndOfDocument,
                  Key::SelectNextLine}))
        box->end(true);
    else
        return false;
    return true;
}

/// What a keystroke types into a box, as Windows hands it to a box's KeyPress handler: printable
/// text, Backspace as BS (Qt reports it as "\b"), Enter as CR, Escape as ESC and Ctrl with a letter as
/// that letter's control code. Empty for keys that type nothing (Delete, the arrows, Home and End,
/// Tab) and for the editing shortcuts.
QString typedText(const QKeyEvent& key)
{
    if (isEditingShortcut(key) || (key.modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
        return {};
    if (key.modifiers() & Qt::ControlModifier) {
        if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
            return QString(QChar(static_cast<char16_t>(key.key() - Qt::Key_A + 1)));
        return {};
    }
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return u"\r"_s;
    case Qt::Key_Escape:
        return u"\x1b"_s;
    case Qt::Key_Backspace:
        return u"\b"_s;
    default:
        break;
    }
    const auto text = key.text();
    const bool printable =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() || c.isSurrogate(); });
    return printable ? text : QString();
}

/// The selected entry of the list, -1 for none.
int selectedRow(const QListWidget* list)
{
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void setPlainText(QWidget* widget, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(widget); label && label->text() != text)
        label->setText(text);
    else if (auto* button = qobject_cast<QPushButton*>(widget); button && button->text() != text)
        button->setText(text);
    else if (auto* box = qobject_cast<QLineEdit*>(widget); box && box->text() != text) {
        // A text the program puts in a box shows from its start, as in the original window, so a
        // message longer than the message box shows its beginning, where it says what happened.
        box->setText(text);
        box->setCursorPosition(0);
    }
}

QStringList itemsOf(const form::Control& control)
{
    QStringList items;
    items.reserve(static_cast<qsizetype>(control.items.size()));
    for (const auto& item : control.items)
        items.push_back(toQString(item));
    return items;
}

} // namespace

WindowView::WindowView(MainWindow& window, QWidget* parent)
    : QWidget(parent), m_window(window), m_messageChange(window.Txtmassage.onChange)
{
    installAccessibleWidgets();
    m_notice = new MessageNotice(this);
    setObjectName(u"Form1"_s);
    setWindowTitle(toQString(form::kWindowCaption));
    // The window has one size: no maximize button, also where the program draws its own title bar
    // (Wayland), whose title then has that button's room.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setPalette(designPalette());
    setFont(designFont(9, false));
    setFixedSize(pixels(form::kClientWidthTwips), pixels(form::kClientHeightTwips));

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { route([this] { m_window.helpKey(); }); });

    // The message box's Change event: a handler wrote a message, perhaps the very one already shown.
    m_window.Txtmassage.onChange = [this] {
        ++m_messageWrites;
        if (m_messageChange)
            m_messageChange();
    };
}

WindowView::~WindowView()
{
    m_window.Txtmassage.onChange = std::move(m_messageChange);
}

void WindowView::load()
{
    // The controls are made after Form_Load, as it leaves them: those it shows now (mirror), the
    // others once the window is on the screen (finishBeforeFirstPaint).
    route([this] { m_window.Form_Load(); });
}

void WindowView::showEvent(QShowEvent* event)
{
    // The window's first paint follows its first Expose; the window system sends it once the window
    // is on the screen.
    if (!m_finished && windowHandle() != nullptr)
        windowHandle()->installEventFilter(this);
    QWidget::showEvent(event);
}

void WindowView::finishBeforeFirstPaint()
{
    // What only the first paint needs waits until the window is on the screen, so that the window
    // appears as soon as it can, and is done before that paint, so that the user sees the same
    // first picture: the captions fitted to their labels (their fonts are made for it) and the
    // picture (decoding it loads the image plug-in).
    m_finished = true;
    windowHandle()->removeEventFilter(this);
    // The controls the first screen hides: made now (mirror makes what is not made yet), since
    // nothing could reach them before.
    mirror();
    for (const auto& d : form::controlTable())
        if (d.kind == ControlKind::Label)
            fitCaption(widget(d.id), toQString(d.caption));
    showPicture();
    Q_EMIT appeared();
}

void WindowView::changeEvent(QEvent* event)
{
    // The window has one size. Where the program draws its own title bar (Wayland), Qt's title bar
    // shows a maximize button whatever the window asks for; the window stays as it is.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
        setWindowState(windowState() & ~Qt::WindowMaximized);
    QWidget::changeEvent(event);
}

void WindowView::closeEvent(QCloseEvent* event)
{
    m_window.Form_Unload();
    QWidget::closeEvent(event);
}

void WindowView::showPicture()
{
    if (const auto& file = m_window.pictureFile(); !file.empty()) {
        QPixmap picture(QFile::decodeName(QByteArray::fromStdString(file)));
        if (auto* label = qobject_cast<QLabel*>(widget(ControlId::Image1)); label && !picture.isNull())
            label->setPixmap(picture);
    }
}

void WindowView::build(bool shownOnly)
{
    bool made = false;
    for (const auto& d : form::controlTable()) {
        if (widget(d.id) || (shownOnly && !m_window.control(d.id).visible))
            continue;
        made = true;
        QWidget* w = makeWidget(d);
        m_widgets[static_cast<std::size_t>(d.id)] = w;
        w->setObjectName(toQString(d.name));
        w->setAccessibleName(toQString(form::accessibleName(d.id)));
        if (!d.tooltip.empty()) {
            w->setToolTip(toQString(d.tooltip));
            w->setAccessibleDescription(toQString(d.tooltip));
        }
        if (d.fontPoints > 0)
            w->setFont(designFont(d.fontPoints, d.bold));
        QPalette palette = w->palette();
        if (d.foreground)
            for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                palette.setColor(role, colourOf(*d.foreground));
        if (d.background) {
            for (auto role : {QPalette::Base, QPalette::Window, QPalette::Button})
                palette.setColor(role, colourOf(*d.background));
            if (qobject_cast<QLabel*>(w))
                w->setAutoFillBackground(true);
        }
        w->setPalette(palette);
        connectEvents(d, w);
    }
    if (made) {
        arrangeTabOrder();
        arrangeStacking();
    }
}

QWidget* WindowView::makeWidget(const ControlDesign& d)
{
    switch (d.kind) {
    case ControlKind::TextBox:
    case ControlKind::DisplayBox:
    case ControlKind::StorageBox: {
        // A box that only shows a value takes keystrokes like any other, for its KeyPress filter to
        // refuse them; assistive tools are told it is read-only.
        auto* box = form::accessibleReadOnly(d.id) ? new DisplayBox(this) : new QLineEdit(this);
        box->setGeometry(placeOf(d));
        // The text ends where the buttons over the box's right end begin, and scrolls within what shows.
        box->setTextMargins(0, 0, pixels(form::rightTextMarginTwips(d.id)), 0);
        return box;
    }
    case ControlKind::ComboBox: {
        auto* combo = new NamedComboBox(this);
        combo->setEditable(true);
        // The list holds only what the data file names: Enter never adds the typed text to it, and
        // the typed text is never completed into something the user did not type.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->setGeometry(placeOf(d));
        return combo;
    }
    case ControlKind::ListBox: {
        auto* list = new IdList(this);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setGeometry(placeOf(d));
        return list;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        button->setGeometry(placeOf(d));
        return button;
    }
    case ControlKind::Label: {
        auto* label = form::accessibleRole(d.id) == form::AccessibleRole::Nothing ? new BlankLabel(this)
                                                                                  : new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(placeOf(d));
        return label;
    }
    case ControlKind::Line:
        // A line's place holds its two end points.
        return new DesignLine({pixels(d.place.left), pixels(d.place.top)},
                              {pixels(d.place.width), pixels(d.place.height)}, this);
    case ControlKind::Picture: {
        auto* picture = new QLabel(this);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setGeometry(placeOf(d));
        return picture;
    }
    }
    return new QWidget(this);
}

void WindowView::connectEvents(const ControlDesign& d, QWidget* w)
{
    const ControlId id = d.id;
    if (auto handler = clickHandler(id)) {
        connect(qobject_cast<QPushButton*>(w), &QPushButton::clicked, this,
                [this, handler] { route(std::bind_front(handler, &m_window)); });
        w->installEventFilter(this);
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w))
        connectCombo(combo);
    else if (auto* list = qobject_cast<QListWidget*>(w))
        connectList(list);
    else if (auto* box = qobject_cast<QLineEdit*>(w))
        connectBox(id, box);
}

void WindowView::connectCombo(QComboBox* combo)
{
    // A choice from the list, by mouse, arrow keys or wheel. Only a choice: the combo box would
    // also choose the entry that a typed text equals once the typing ends (Enter, leaving the
    // box), and a typed destination is a text, not a choice.
    disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    connect(combo, &QComboBox::activated, this,
            [this](int index) { route([this, index] { form::chooseDestination(m_window, index); }); });
    // The text, however it changed: only the text changes; the choice is made by choosing. The
    // combo box also writes its text while a choice is under way, so nothing is shown back here.
    connect(combo->lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_mirroring)
            m_window.cmbnamae.setText(toU16(text));
    });
}

void WindowView::connectList(QListWidget* list)
{
    // A new choice, whatever made it: a click, the arrow keys or an assistive tool, which changes
    // the selection but not the current entry.
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
        if (m_mirroring)
            return;
        m_clickRan = true;
        chooseId(selectedRow(list));
    });
    // A click on the entry already chosen changes no selection, yet the user expects the shown
    // password to be read again from the file. A list that edit mode hid takes no click: the
    // release that ends a double-click comes after edit mode opened.
    connect(list, &QListWidget::itemClicked, this, [this, list](QListWidgetItem* item) {
        if (!std::exchange(m_clickRan, false) && m_window.Lstidbox.visible)
            chooseId(list->row(item));
    });
    // Double clicks anywhere in the list, on an entry or not: the handler tells the user when no
    // entry is chosen. Presses start a new click. Enter on the list does the same.
    list->viewport()->installEventFilter(this);
    list->installEventFilter(this);
}

void WindowView::connectBox(ControlId id, QLineEdit* box)
{
    // Every change of the text that the program did not make: typing, paste, drop, undo, an input
    // method or an assistive tool. The program's own copies into the box come with its signals
    // blocked.
    connect(box, &QLineEdit::textChanged, this, [this, id](const QString& text) {
        if (m_mirroring)
            return;
        if (isTypedBox(id) || m_forwardingTo == id) {
            // Only the box's Change event follows, which changes nothing on the screen.
            m_window.control(id).setText(toU16(text));
            return;
        }
        // A box that only shows: once the edit is over, the program's text returns.
        QMetaObject::invokeMethod(this, &WindowView::mirror, Qt::QueuedConnection);
    });
    // Every box: the focus it takes is told first (eventFilter), and the filters below.
    box->installEventFilter(this);
    if (form::copyHandler(id))
        keepSecret(id, box);
    if (form::takesNoInputMethod(id)) {
        // The attribute alone does not do it: a QLineEdit tells the input method it takes
        // composition whenever it can be edited (keepInputMethodOff).
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->setInputMethodHints(Qt::ImhSensitiveData | Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase |
                                 Qt::ImhPreferLatin | Qt::ImhLatinOnly);
    }
}

void WindowView::keepSecret(ControlId id, QLineEdit* box)
{
    // A drag would hand the text to the program it is dropped on, unmarked: the box starts none.
    box->setDragEnabled(false);
    // The box's own menu, with what the box can do. Its copy and cut go the way the keys' do; the
    // toolkit's standard menu would copy unmarked.
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this, [this, id, box](const QPoint& at) {
        const bool typed = isTypedBox(id);
        auto* menu = new QMenu(box);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        if (typed) {
            auto* undo = menu->addAction(u"元に戻す(&U)"_s, box, &QLineEdit::undo);
            undo->setShortcut(QKeySequence::Undo);
            undo->setEnabled(box->isUndoAvailable());
            menu->addSeparator();
            auto* cut =
                menu->addAction(u"切り取り(&T)"_s, this, [this, id, box] { copySecret(id, box, true); });
            cut->setObjectName(u"cut"_s);
            cut->setShortcut(QKeySequence::Cut);
            cut->setEnabled(box->hasSelectedText());
        }
        auto* copy = menu->addAction(u"コピー(&C)"_s, this, [this, id, box] { copySecret(id, box, false); });
        copy->setObjectName(u"copy"_s);
        copy->setShortcut(QKeySequence::Copy);
        copy->setEnabled(box->hasSelectedText());
        if (typed) {
            auto* paste = menu->addAction(u"貼り付け(&P)"_s, box, &QLineEdit::paste);
            paste->setShortcut(QKeySequence::Paste);
            paste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
            auto* erase = menu->addAction(u"削除(&D)"_s, box, &QLineEdit::del);
            erase->setShortcut(QKeySequence::Delete);
            erase->setEnabled(box->hasSelectedText());
            menu->addSeparator();
        }
        menu->addAction(u"すべて選択(&A)"_s, box, &QLineEdit::selectAll)
            ->setShortcut(QKeySequence::SelectAll);
        menu->popup(box->mapToGlobal(at));
    });
    // On X every selection goes to the primary selection, which any program may read and clipboard
    // managers keep. The box's copies there that end a selection by mouse or by keys never happen
    // (copyOutOfSecretBox); any other (an input method's, say) is taken back at once, before another
    // program can ask for it.
    connect(QGuiApplication::clipboard(), &QClipboard::selectionChanged, box, [box] {
        auto* clipboard = QGuiApplication::clipboard();
        if (clipboard->ownsSelection() && box->hasSelectedText() &&
            clipboard->text(QClipboard::Selection) == box->selectedText())
            clipboard->clear(QClipboard::Selection);
    });
}

bool WindowView::copyOutOfSecretBox(ControlId id, QLineEdit* box, const QEvent& event)
{
    if (event.type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(event);
        if (selectByKeys(box, key))
            return true;
        if (!key.matches(QKeySequence::Copy) && !key.matches(QKeySequence::Cut))
            return false;
        copySecret(id, box, key.matches(QKeySequence::Cut));
        return true;
    }
    // Qt copies a selection made by mouse to the primary selection when the button comes up.
    return event.type() == QEvent::MouseButtonRelease &&
           static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

void WindowView::copySecret(ControlId id, QLineEdit* box, bool cut)
{
    const QString selected = box->selectedText();
    if (selected.isEmpty())
        return;
    route([this, id, &selected] { (m_window.*form::copyHandler(id))(toU16(selected)); });
    // A box the user writes in loses what is cut; a box that only shows keeps the program's text.
    if (cut && isTypedBox(id))
        box->del();
}

void WindowView::chooseId(int row)
{
    route([this, row] { form::chooseId(m_window, row); });
}

void WindowView::arrangeTabOrder()
{
    // The design's order among the controls made so far.
    QWidget* previous = nullptr;
    for (const ControlId id : form::tabOrder()) {
        if (QWidget* w = widget(id)) {
            if (previous)
                setTabOrder(previous, w);
            previous = w;
        }
    }
}

void WindowView::arrangeStacking()
{
    for (const ControlId id : form::stackingOrder())
        if (QWidget* w = widget(id))
            w->raise();
}

void WindowView::route(const std::function<void()>& handler)
{
    if (m_mirroring)
        return;
    form::runEvent(m_window, handler);
    mirror();
}

void WindowView::mirror()
{
    // A control shown for the first time is made first.
    build(!m_finished);
    m_mirroring = true;
    for (const auto& d : form::controlTable()) {
        const auto& control = m_window.control(d.id);
        QWidget* w = widget(d.id);
        if (!w)
            continue;
        const QSignalBlocker blocker(w);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const QSignalBlocker editBlocker(combo->lineEdit());
            const auto items = itemsOf(control);
            QStringList shown;
            for (int i = 0; i < combo->count(); ++i)
                shown.push_back(combo->itemText(i));
            if (shown != items) {
                combo->clear();
                combo->addItems(items);
            }
            if (combo->currentIndex() != control.listIndex)
                combo->setCurrentIndex(control.listIndex);
            if (combo->currentText() != toQString(control.text()))
                combo->setEditText(toQString(control.text()));
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            const auto items = itemsOf(control);
            QStringList shown;
            for (int i = 0; i < list->count(); ++i)
                shown.push_back(list->item(i)->text());
            if (shown != items) {
                list->clear();
                list->addItems(items);
            }
            if (list->currentRow() != control.listIndex || selectedRow(list) != control.listIndex) {
                if (control.listIndex < 0)
                    list->clearSelection();
                list->setCurrentRow(control.listIndex);
            }
        } else if (d.kind != ControlKind::Line && d.kind != ControlKind::Picture) {
            setPlainText(w, toQString(control.text()));
        }
    }
    announceMessage();
    showWholeMessage();
    // Controls are shown before others are hidden: when the focused button hides itself, the focus
    // then moves on to the control that took its place, not round to the message box.
    for (bool showing : {true, false}) {
        for (const auto& d : form::controlTable()) {
            QWidget* w = widget(d.id);
            if (w && m_window.control(d.id).visible == showing && w->isHidden() == showing)
                w->setVisible(showing);
        }
    }
    m_mirroring = false;
}

void WindowView::showWholeMessage()
{
    auto* box = widget(ControlId::Txtmassage);
    if (!box)
        return;
    const QString description = toQString(form::wholeMessageTip(m_window.Txtmassage.text()));
    // As rich text, so that a long message wraps inside the tooltip.
    const QString tip = u"<p>"_s + description.toHtmlEscaped().replace(u'\n', u"<br>"_s) + u"</p>"_s;
    if (box->toolTip() != tip) {
        box->setToolTip(tip);
        box->setAccessibleDescription(description);
    }
}

void WindowView::announceMessage()
{
    // Every result is one line in the message box, and a user who cannot see it must hear it, once,
    // the same refusal twice included. The start-up message is read with the message box itself,
    // which has the focus when the window comes up.
    const bool written = std::exchange(m_messagesAnnounced, m_messageWrites) != m_messageWrites;
    const auto& text = m_window.Txtmassage.text();
    if (written && !text.empty() && m_finished)
        m_notice->announce(toQString(text));
}

bool WindowView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && !m_finished && watched == windowHandle())
        finishBeforeFirstPaint();
    if (event->type() == QEvent::FocusIn && qobject_cast<QLineEdit*>(watched))
        tellFocusFirst(watched);
    auto* list = qobject_cast<QListWidget*>(widget(ControlId::Lstidbox));
    if (!list)
        return QWidget::eventFilter(watched, event);
    if (watched == list->viewport() && event->type() == QEvent::MouseButtonPress)
        m_clickRan = false;
    if (watched == list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // As on Windows, the second click of a double click is a click too: the shown password is
        // read again from the file before the edit boxes take it.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            route([this] { form::openChosenId(m_window); });
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && takeActionKey(watched, *static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == list && event->type() == QEvent::KeyPress && chooseByKey(*static_cast<QKeyEvent*>(event)))
        return true;
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        const auto found = std::find(m_widgets.begin(), m_widgets.end(), box);
        if (found != m_widgets.end()) {
            const auto id = static_cast<ControlId>(found - m_widgets.begin());
            if (event->type() == QEvent::InputMethodQuery && form::takesNoInputMethod(id))
                return keepInputMethodOff(box, *static_cast<QInputMethodQueryEvent*>(event));
            if (form::copyHandler(id) && copyOutOfSecretBox(id, box, *event))
                return true;
            if (auto handler = keyPressHandler(id))
                return filterTyping(id, handler, box, event);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool WindowView::keepInputMethodOff(QLineEdit* box, QInputMethodQueryEvent& query)
{
    if (m_answeringInputMethod || !(query.queries() & Qt::ImEnabled))
        return false;
    // The box answers first, then the answer to whether it takes composition becomes no.
    m_answeringInputMethod = true;
    QCoreApplication::sendEvent(box, &query);
    m_answeringInputMethod = false;
    query.setValue(Qt::ImEnabled, false);
    return true;
}

bool WindowView::takeActionKey(QObject* watched, const QKeyEvent& key)
{
    const auto found = std::find(m_widgets.begin(), m_widgets.end(), watched);
    if (found == m_widgets.end() || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    form::ActionKey actionKey{};
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        actionKey = form::ActionKey::Enter;
    else if (key.key() == Qt::Key_Space)
        actionKey = form::ActionKey::Space;
    else
        return false;
    const auto id = static_cast<ControlId>(found - m_widgets.begin());
    switch (form::keyActionOn(id, actionKey)) {
    case form::KeyAction::Click:
        // Space is the button's own key: it looks pressed while the key is down and clicks on release.
        if (actionKey == form::ActionKey::Space)
            return false;
        if (auto* button = qobject_cast<QPushButton*>(*found))
            button->click();
        return true;
    case form::KeyAction::DblClick:
        route([this] { form::openChosenId(m_window); });
        return true;
    case form::KeyAction::None:
        break;
    }
    return false;
}

bool WindowView::filterTyping(ControlId id, KeyPressHandler handler, QLineEdit* box, QEvent* event)
{
    // What this filter hands on has been through the handler already.
    if (m_forwardingTo)
        return false;

    if (event->type() == QEvent::KeyPress) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        const auto text = typedText(key);
        if (text.isEmpty())
            return false;
        const auto [accepted, changed] = passThroughHandler(handler, text);
        if (!changed && isTypedBox(id))
            return false;
        if (!accepted.isEmpty()) {
            QKeyEvent typed(QEvent::KeyPress, changed ? Qt::Key_unknown : key.key(), key.modifiers(),
                            key.nativeScanCode(), key.nativeVirtualKey(), key.nativeModifiers(), accepted,
                            key.isAutoRepeat(), static_cast<quint16>(accepted.size()));
            forward(id, box, typed);
        }
        return true;
    }

    if (event->type() == QEvent::InputMethod) {
        const auto& input = *static_cast<QInputMethodEvent*>(event);
        if (input.commitString().isEmpty())
            return false;
        const auto [accepted, changed] = passThroughHandler(handler, input.commitString());
        if (!changed && isTypedBox(id))
            return false;
        // The composition still ends, whatever of it was refused.
        QInputMethodEvent committed(input.preeditString(), input.attributes());
        committed.setCommitString(accepted, input.replacementStart(), input.replacementLength());
        forward(id, box, committed);
        return true;
    }
    return false;
}

std::pair<QString, bool> WindowView::passThroughHandler(KeyPressHandler handler, const QString& typed)
{
    form::TypedText result;
    route([&] { result = form::passKeyPress(m_window, handler, toU16(typed)); });
    return {toQString(result.accepted), result.changed};
}

void WindowView::forward(ControlId id, QLineEdit* box, QEvent& event)
{
    m_forwardingTo = id;
    QCoreApplication::sendEvent(box, &event);
    m_forwardingTo.reset();
}

bool WindowView::chooseByKey(const QKeyEvent& key)
{
    using form::ListKey;
    static constexpr std::pair<int, ListKey> keys[] = {
        {Qt::Key_Up, ListKey::Up},         {Qt::Key_Down, ListKey::Down},
        {Qt::Key_Home, ListKey::Home},     {Qt::Key_End, ListKey::End},
        {Qt::Key_PageUp, ListKey::PageUp}, {Qt::Key_PageDown, ListKey::PageDown},
        {Qt::Key_Space, ListKey::Space},
    };
    const auto found = std::find_if(std::begin(keys), std::end(keys),
                                    [&key](const auto& k) { return k.first == key.key(); });
    if (found == std::end(keys) || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto* list = qobject_cast<QListWidget*>(widget(ControlId::Lstidbox));
    const int rowHeight = std::max(list->sizeHintForRow(0), 1);
    const int page = std::max(list->viewport()->height() / rowHeight, 1);
    const auto& ids = m_window.Lstidbox;
    const auto row =
        form::listKeyChoice(found->second, ids.listIndex, static_cast<int>(ids.items.size()), page);
    if (!row)
        return true;
    const int framed = list->currentRow();
    chooseId(*row);
    // The key chose the entry the focus frame already stood on: the list tells assistive tools of
    // the entry as it does when the frame moves, so that a screen reader says which one is chosen.
    if (list->currentRow() == framed && list->hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent focus(list, QAccessible::Focus);
        focus.setChild(framed);
        QAccessible::updateAccessibility(&focus);
    }
    return true;
}

} // namespace orvanta::view
