// The window as the user meets it: widgets built from the design table, clicks and keystrokes
// reaching the program, and what the program then shows.
#include "view/qt/WindowView.h"

#include "form/HelpText.h"
#include "host/ErrorDescription.h"
#include "rules/backup/Messages.h"
#include "rules/store/Decimal.h"
#include "rules/store/PswRecord.h"
#include "rules/store/RowFormat.h"
#include "support/EveryMessage.h"
#include "support/TestServices.h"
#include "view/qt/DesignColours.h"
#include "view/qt/Fonts.h"
#include "view/qt/QtClipboard.h"
#include "view/qt/QtHelpViewer.h"
#include "view/qt/QtText.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTextBrowser>
#include <QTextList>
#include <cerrno>
#include <map>
#include <memory>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <vector>

using namespace Qt::StringLiterals;
using namespace orvanta;
using form::ControlId;

namespace {

/// The services of the tests, but with the real clipboard of the (offscreen) desktop.
struct Fixture {
    test::TestServices fakes;
    view::QtClipboard clipboard;
    host::Services services()
    {
        auto s = fakes.services();
        return {s.registry, s.environment, s.files, s.codePage, clipboard,
                s.clock,    s.random,      s.help,  s.drives,   s.timer};
    }
};

/// psw.ini as the program writes it for these services: one destination with its entries
/// (id, password, address), passwords and addresses in their stored form.
std::string dataFile(Fixture& fixture, std::u16string_view destination,
                     const std::vector<std::array<std::u16string, 3>>& entries)
{
    form::MainWindow writer(fixture.services());
    writer.Form_Load();
    std::vector<store::PswRecord> rows;
    rows.push_back({std::u16string(store::kHeaderMark), std::u16string(destination), u" ",
                    store::decimalText(static_cast<long long>(entries.size())), u" "});
    for (const auto& [id, password, mail] : entries)
        rows.push_back(
            {std::u16string(destination), id, writer.encodeText(password), u" ", writer.encodeText(mail)});
    auto bytes = store::writeRows(rows, fixture.fakes.codePage);
    return std::get<std::string>(bytes);
}

void commit(QWidget* box, const QString& text)
{
    QInputMethodEvent event(QString(), {});
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

/// Brings "ab1" into an empty box in one of the ways text arrives without the program writing it.
void bring(QLineEdit* box, const QString& way)
{
    const QString text = u"ab1"_s;
    auto* editable = QAccessible::queryAccessibleInterface(box)->editableTextInterface();
    box->setFocus();
    if (way == u"typing"_s || way == u"cut and undo"_s)
        QTest::keyClicks(box, text);
    if (way == u"cut and undo"_s) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    } else if (way == u"Ctrl+V"_s) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else if (way == u"drop"_s) {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box, &drop);
    } else if (way == u"input method"_s) {
        commit(box, text);
    } else if (way == u"assistive insert"_s) {
        editable->insertText(0, text);
    } else if (way == u"assistive replace"_s) {
        editable->insertText(0, u"zz"_s);
        editable->replaceText(0, 2, text);
    } else if (way == u"assistive value"_s) {
        QAccessible::queryAccessibleInterface(box)->setText(QAccessible::Value, text);
    }
}

/// The notifications that appeared to screen readers, by their text.
QStringList heard;

void listenToMessages(QAccessibleEvent* event)
{
    auto* shown = event->accessibleInterface();
    if (event->type() == QAccessible::ObjectShow && shown && shown->role() == QAccessible::Notification)
        heard.push_back(shown->text(QAccessible::Name));
}

/// Qt's accessibility wakes only when an assistive tool connects; the tests wake it themselves, as
/// Qt's own accessibility tests do.
void wakeAccessibility(bool awake)
{
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(awake);
}

/// The message box's text, which a failing comparison prints as the Japanese it is: QTest's own
/// printing of a QString escapes every character beyond ASCII ("\u8A18\u5165…").
struct Message : QString {
    using QString::QString;
    Message(const QString& text) : QString(text) {}
};

char* toString(const Message& text)
{
    return qstrdup((u'"' + text + u'"').toUtf8().constData());
}

} // namespace

// Found beside the Message above when QTest prints the other side of a comparison with a message.
static char* toString(const QString& text)
{
    return qstrdup((u'"' + text + u'"').toUtf8().constData());
}

class WindowViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Fixture> m_fixture;
    std::unique_ptr<form::MainWindow> m_window;
    std::unique_ptr<view::WindowView> m_view;

    template <class W> W* find(const char* name)
    {
        auto* w = m_view->findChild<W*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no widget named %s", name);
        return w;
    }
    Message message() { return find<QLineEdit>("Txtmassage")->text(); }
    form::Control& controlNamed(const QString& name)
    {
        for (const auto& d : form::controlTable())
            if (view::toQString(d.name) == name)
                return m_window->control(d.id);
        qFatal("no control named %s", qPrintable(name));
    }

    void start()
    {
        m_window = std::make_unique<form::MainWindow>(m_fixture->services());
        m_view = std::make_unique<view::WindowView>(*m_window);
        m_view->load();
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    /// The first screen, with "Shop" chosen in the combo box by the arrow key and "alice" clicked.
    void showAlice()
    {
        m_fixture->fakes.windowsDir.write("psw.ini", dataFile(*m_fixture, u"Shop",
                                                              {{{u"alice", u"pass123", u"alice@example.jp"},
                                                                {u"bob", u"x-9", u"bob@example.jp"}}}));
        start();
        auto* combo = find<QComboBox>("cmbnamae");
        QCOMPARE(combo->count(), 1);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        auto* list = find<QListWidget>("Lstidbox");
        QCOMPARE(list->count(), 2);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<Fixture>();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup()
    {
        m_view.reset();
        m_window.reset();
        m_fixture.reset();
    }

    void designTableReachesTheWidgets()
    {
        start();
        QCOMPARE(m_view->size(), QSize(543, 356));
        // One size, also when a title bar drawn by Qt (Wayland) offers to maximize it.
        m_view->setWindowState(Qt::WindowMaximized);
        QVERIFY(!(m_view->windowState() & Qt::WindowMaximized));
        QCOMPARE(m_view->size(), QSize(543, 356));
        QCOMPARE(m_view->windowTitle(),
                 u"Orvanta (" ORVANTA_VERSION_TEXT ")\u3000Orvanta 工房 https://orvanta.example/"_s);

        QCOMPARE(find<QLineEdit>("Txtmassage")->geometry(), QRect(32, 264, 481, 18));
        QCOMPARE(find<QComboBox>("cmbnamae")->geometry(), QRect(56, 64, 433, 20));
        QCOMPARE(find<QComboBox>("cmbnamae")->toolTip(),
                 u"新規登録先 または確認したい登録先を選択して下さい。"_s);
        QCOMPARE(find<QListWidget>("Lstidbox")->accessibleName(), u"登録ID名"_s);
        QCOMPARE(find<QLineEdit>("Lblpassword")->accessibleName(), u"パスワード"_s);
        QCOMPARE(find<QLineEdit>("Lblpassword")->accessibleDescription(), u"パスワードが表示されます。"_s);

        auto* newMode = find<QPushButton>("btnnewmode");
        QCOMPARE(newMode->text(), u"登録モードヘ"_s);
        QCOMPARE(newMode->accessibleName(), u"登録モードヘ"_s);
        QCOMPARE(newMode->font().pointSizeF(), 8.25);
        // The design's face renders as the IPA font, never as empty boxes.
        QCOMPARE(QFontInfo(newMode->font()).family(), u"IPAPGothic"_s);
        QCOMPARE(QFontInfo(find<QLabel>("lblsetumei1")->font()).family(), u"IPAPGothic"_s);

        auto* title = find<QLabel>("Label1");
        QCOMPARE(title->font().pointSizeF(), 18.0);
        QVERIFY(title->font().bold());
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(find<QLineEdit>("Lblpassword")->palette().color(QPalette::Base), QColor(255, 192, 192));
        QCOMPARE(find<QLineEdit>("txtketasu")->palette().color(QPalette::Base), QColor(0, 255, 255));
    }

    void firstScreenShowsWhatTheProgramShows()
    {
        start();
        QVERIFY(find<QLineEdit>("Lblpassword")->isVisible());
        QVERIFY(find<QPushButton>("btnclipset")->isVisible());
        QVERIFY(!find<QLineEdit>("Txtpassnew")->isVisible());
        QVERIFY(!find<QLineEdit>("txtketasu")->isVisible());
        QVERIFY(!find<QLineEdit>("Txtdirectry")->isVisible());
        QVERIFY(!find<QLabel>("riyoukanou")->isVisible());
        // The copy button shares its place with the end of the password box and must lie over it.
        auto* copy = find<QPushButton>("btnclipset");
        QCOMPARE(m_view->childAt(copy->geometry().center()), copy);
    }

    void everyCaptionFitsItsLabel()
    {
        start();
        // The label of usable characters must show every one of them, down to the closing brace.
        for (auto* label : m_view->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            QVERIFY2(QFontMetricsF(label->font()).horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName()));
        }
    }

    void tabOrderFollowsTheDesign()
    {
        start();
        QApplication::setActiveWindow(m_view.get());
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        auto* messageBox = find<QLineEdit>("Txtmassage");
        messageBox->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* combo = find<QComboBox>("cmbnamae");
        QVERIFY(QApplication::focusWidget() == combo || QApplication::focusWidget() == combo->lineEdit());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), find<QListWidget>("Lstidbox"));
    }

    void choosingDestinationAndIdShowsTheDecodedEntry()
    {
        showAlice();
        QCOMPARE(find<QComboBox>("cmbnamae")->currentText(), u"Shop"_s);
        QCOMPARE(find<QListWidget>("Lstidbox")->item(1)->text(), u"bob"_s);
        QCOMPARE(find<QLineEdit>("Lblpassword")->text(), u"pass123"_s);
        QCOMPARE(find<QLineEdit>("Lblbikouran")->text(), u"alice@example.jp"_s);

        auto* list = find<QListWidget>("Lstidbox");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(find<QLineEdit>("Lblpassword")->text(), u"x-9"_s);
    }

    void copyButtonPutsThePasswordOnTheClipboard()
    {
        showAlice();
        QTest::mouseClick(find<QPushButton>("btnclipset"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"pass123"_s);
        // Marked for clipboard managers to keep out of their history.
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(u"x-kde-passwordManagerHint"_s), "secret");
        // The same text put there anew, unmarked, is not the program's copy: it stays.
        QGuiApplication::clipboard()->setText(u"pass123"_s);
        m_fixture->fakes.timer.expire();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"pass123"_s);
        // Closing the window takes the program's own copy away again.
        QTest::mouseClick(find<QPushButton>("btnclipset"), Qt::LeftButton);
        m_view->close();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    // A copy out of a box that may show a password goes the way of クリップ: marked as a secret, and
    // off the clipboard again when its time is up. A cut takes the text only out of the box the user
    // writes in.
    void aPasswordCopiedByHandIsASecret_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("left"); // the box's text afterwards; empty: as before
        const auto row = [](const char* box, const char* way, const char* left = "") {
            QTest::addRow("%s %s", box, way)
                << QString::fromLatin1(box) << QString::fromLatin1(way) << QString::fromLatin1(left);
        };
        for (const char* way : {"Ctrl+C", "Ctrl+Ins", "Ctrl+X", "copy"})
            row("Lblpassword", way);
        for (const char* way : {"Ctrl+C", "copy"})
            row("Txtmassage", way);
        for (const char* way : {"Ctrl+Ins", "copy"})
            row("Txtpassnew", way);
        for (const char* way : {"Ctrl+X", "Shift+Del", "cut"})
            row("Txtpassnew", way, "123");
    }

    void aPasswordCopiedByHandIsASecret()
    {
        QFETCH(QString, box);
        QFETCH(QString, way);
        QFETCH(QString, left);
        showAlice();
        if (box != u"Lblpassword"_s) {
            auto* list = find<QListWidget>("Lstidbox");
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->visualItemRect(list->item(0)).center());
        }
        if (box == u"Txtmassage"_s)
            QTest::mouseClick(find<QPushButton>("btnkousin"), Qt::LeftButton);
        auto* shown = m_view->findChild<QLineEdit*>(box);
        left = left.isEmpty() ? shown->text() : left;
        shown->setFocus();
        shown->setSelection(static_cast<int>(shown->text().indexOf(u"pass"_s)), 4);
        if (way == u"copy"_s || way == u"cut"_s) {
            const QPoint at = shown->rect().center();
            QContextMenuEvent request(QContextMenuEvent::Keyboard, at, shown->mapToGlobal(at));
            QApplication::sendEvent(shown, &request);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            menu->findChild<QAction*>(way)->trigger();
            menu->close();
        } else {
            const QKeySequence keys(way);
            QTest::keyClick(shown, keys[0].key(), keys[0].keyboardModifiers());
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), u"pass"_s);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(u"x-kde-passwordManagerHint"_s), "secret");
        QCOMPARE(shown->text(), left);
        QCOMPARE(view::toQString(controlNamed(box).text()), left);
        QCOMPARE(m_fixture->fakes.timer.waiting(), std::chrono::milliseconds(30000));
        m_fixture->fakes.timer.expire();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void doubleClickOpensTheEntryForEditing()
    {
        showAlice();
        auto* list = find<QListWidget>("Lstidbox");
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(list->item(0)).center());
        QVERIFY(!list->isVisible());
        QVERIFY(find<QPushButton>("btnkousin")->isVisible());
        QCOMPARE(find<QLineEdit>("Txtnamae")->text(), u"Shop"_s);
        QCOMPARE(find<QLineEdit>("Txtidbox")->text(), u"alice"_s);
        QCOMPARE(find<QLineEdit>("Txtpassnew")->text(), u"pass123"_s);
        QVERIFY(find<QLineEdit>("txtketasu")->isVisible());
    }

    void everyWidgetIsPresentedAsTheDesignSays()
    {
        showAlice();
        using R = form::AccessibleRole;
        const std::map<R, QAccessible::Role> roles{
            {R::Text, QAccessible::EditableText},   {R::ComboBox, QAccessible::ComboBox},
            {R::List, QAccessible::List},           {R::Button, QAccessible::Button},
            {R::Label, QAccessible::StaticText},    {R::Image, QAccessible::Graphic},
            {R::Separator, QAccessible::Separator}, {R::Nothing, QAccessible::StaticText},
        };
        for (const auto& d : form::controlTable()) {
            auto* w = m_view->findChild<QWidget*>(view::toQString(d.name));
            auto* face = QAccessible::queryAccessibleInterface(w);
            const auto role = form::accessibleRole(d.id);
            const QByteArray name(d.name.data(), static_cast<qsizetype>(d.name.size()));
            // The tests have no picture to show.
            if (role == R::Image && qobject_cast<QLabel*>(w)->pixmap().isNull())
                continue;
            QVERIFY2(face->role() == roles.at(role), name);
            QVERIFY2(face->state().invisible == (role == R::Nothing || w->isHidden()), name);
            if (role == R::Nothing)
                continue;
            QCOMPARE(face->text(QAccessible::Name), view::toQString(form::accessibleName(d.id)));
            if (role == R::Text) {
                // Read-only boxes are no editable text at all: a tool cannot write into them.
                const bool readOnly = form::accessibleReadOnly(d.id);
                QVERIFY2(face->state().readOnly == readOnly && face->state().editable == !readOnly, name);
                QVERIFY2((face->editableTextInterface() == nullptr) == readOnly, name);
                QVERIFY2(face->textInterface(), name);
            }
        }
        // The chosen destination is the combo box's value; its name stays the caption.
        auto* combo = QAccessible::queryAccessibleInterface(find<QComboBox>("cmbnamae"));
        QCOMPARE(combo->text(QAccessible::Name), u"登録先（プロダクト名）"_s);
        QCOMPARE(combo->text(QAccessible::Value), u"Shop"_s);
        QCOMPARE(combo->childCount(), 2);
        auto* password =
            QAccessible::queryAccessibleInterface(find<QLineEdit>("Lblpassword"))->textInterface();
        QCOMPARE(password->text(0, password->characterCount()), u"pass123"_s);
    }

    void theKeysChooseEveryIdAndShowItsPassword_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("chosen");
        using K = Qt::Key;
        // From nothing chosen, with the focus frame on the first entry, as Tab leaves the list.
        QTest::newRow("Down") << QList<int>{K::Key_Down} << 0;
        QTest::newRow("Space") << QList<int>{K::Key_Space} << 0;
        QTest::newRow("Home") << QList<int>{K::Key_Home} << 0;
        QTest::newRow("End") << QList<int>{K::Key_End} << 1;
        QTest::newRow("Down, Down") << QList<int>{K::Key_Down, K::Key_Down} << 1;
        QTest::newRow("past the end") << QList<int>{K::Key_End, K::Key_Down} << 1;
        QTest::newRow("End, Up") << QList<int>{K::Key_End, K::Key_Up} << 0;
        QTest::newRow("End, Home") << QList<int>{K::Key_End, K::Key_Home} << 0;
        QTest::newRow("End, Space") << QList<int>{K::Key_End, K::Key_Space} << 1;
    }

    void theKeysChooseEveryIdAndShowItsPassword()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, chosen);
        m_fixture->fakes.windowsDir.write(
            "psw.ini",
            dataFile(*m_fixture, u"Shop", {{{u"alice", u"pass123", u" "}, {u"bob", u"x-9", u" "}}}));
        start();
        QTest::keyClick(find<QComboBox>("cmbnamae"), Qt::Key_Down);
        auto* list = find<QListWidget>("Lstidbox");
        list->setFocus();
        for (int key : keys)
            QTest::keyClick(list, Qt::Key(key));
        QCOMPARE(m_window->Lstidbox.listIndex, chosen);
        QCOMPARE(list->currentRow(), chosen);
        QCOMPARE(list->selectedItems().size(), 1);
        // As a click does, the choice shows the entry's password.
        QCOMPARE(find<QLineEdit>("Lblpassword")->text(), chosen == 0 ? u"pass123"_s : u"x-9"_s);
    }

    void theKeyboardReachesTheButtonsAndTheList()
    {
        showAlice();
        auto* list = find<QListWidget>("Lstidbox");
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(find<QLineEdit>("Txtidbox")->text(), u"alice"_s);
        QVERIFY(find<QPushButton>("btnkousin")->isVisible());
        QTest::keyClick(find<QPushButton>("btnmordori"), Qt::Key_Space);
        QVERIFY(list->isVisible());
        QTest::keyClick(find<QPushButton>("btnnewmode"), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(find<QPushButton>("btnnew")->isVisible());
        // The boxes still take Enter as a keystroke for their filters, never as a click.
        QTest::keyClick(find<QLineEdit>("Txtpassnew"), Qt::Key_Return);
        QCOMPARE(message(), u"入力可能文字ではありません"_s);
        QVERIFY(find<QPushButton>("btnnew")->isVisible());
    }

    void secretBoxesTakeNoInputMethod()
    {
        start();
        for (const char* name : {"Txtpassnew", "Txtbikouran", "Txtidbox"}) {
            auto* box = find<QLineEdit>(name);
            const bool secret = QByteArray(name) != "Txtidbox";
            // What the input method asks of the box when it takes the focus.
            QInputMethodQueryEvent asked(Qt::ImEnabled);
            QApplication::sendEvent(box, &asked);
            QCOMPARE(asked.value(Qt::ImEnabled).toBool(), !secret);
            QCOMPARE(box->inputMethodHints().testFlag(Qt::ImhSensitiveData), secret);
            QCOMPARE(box->inputMethodHints().testFlag(Qt::ImhLatinOnly), secret);
        }
    }

    void aDarkThemeLeavesTheDesignsColours()
    {
        // A dark theme's palette, as Adwaita-Dark or a dark GTK theme gives it, changed while the
        // window is up too.
        const QPalette light = QApplication::palette();
        QPalette dark(QColor(45, 45, 45), QColor(30, 30, 30));
        dark.setColor(QPalette::WindowText, QColor(238, 238, 236));
        dark.setColor(QPalette::Text, QColor(238, 238, 236));
        dark.setColor(QPalette::ButtonText, QColor(238, 238, 236));
        for (bool before : {true, false}) {
            if (before)
                QApplication::setPalette(dark);
            start();
            if (!before)
                QApplication::setPalette(dark);
            for (const auto& d : form::controlTable()) {
                auto* w = m_view->findChild<QWidget*>(view::toQString(d.name));
                const auto& p = w->palette();
                const QColor text = view::colourOf(d.foreground.value_or(form::kDesignText));
                QCOMPARE(p.color(QPalette::WindowText), text);
                QCOMPARE(p.color(QPalette::Text), text);
                QCOMPARE(p.color(QPalette::ButtonText), text);
                QCOMPARE(p.color(QPalette::Base),
                         view::colourOf(d.background.value_or(form::kDesignBoxBackground)));
                if (!d.background)
                    QCOMPARE(p.color(QPalette::Button), view::colourOf(form::kDesignFace));
                QCOMPARE(p.color(QPalette::Highlight), view::colourOf(form::kDesignSelection));
            }
            m_view.reset();
            QApplication::setPalette(light);
        }
    }

    void everyMessageOfTheProgramFitsTheMessageBox()
    {
        start();
        auto* box = find<QLineEdit>("Txtmassage");
        QStyleOptionFrame frame;
        frame.initFrom(box);
        frame.rect = box->rect();
        frame.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, box);
        // QLineEdit keeps two pixels free at either end of its text.
        const int room = box->style()->subElementRect(QStyle::SE_LineEditContents, &frame, box).width() - 4;
        const auto fits = test::everyMessage();
        const QFontMetricsF metrics(box->font());
        int cut = 0;
        for (const auto& message : fits) {
            if (const auto width = metrics.horizontalAdvance(view::toQString(message)); width > room) {
                qWarning("cut (%d > %d px): %s", int(width), room, qPrintable(view::toQString(message)));
                ++cut;
            }
        }
        QCOMPARE(cut, 0);

        // Whatever its width, the message is whole in the box's tooltip and description.
        m_window->Txtmassage.setText(fits[3]);
        m_view->mirror();
        QVERIFY(box->toolTip().contains(view::toQString(fits[3]).toHtmlEscaped()));
        QVERIFY(box->toolTip().contains(u"アプリケーションからのメッセージを表示します。"_s));
        QVERIFY(box->accessibleDescription().contains(view::toQString(fits[3])));
    }

    void registrationThroughTheWindowWritesTheDataFile()
    {
        start();
        QTest::mouseClick(find<QPushButton>("btnnewmode"), Qt::LeftButton);
        QTest::keyClicks(find<QComboBox>("cmbnamae")->lineEdit(), u"Mail"_s);
        QTest::keyClicks(find<QLineEdit>("Txtidbox"), u"me"_s);
        QTest::keyClicks(find<QLineEdit>("Txtpassnew"), u"Secret1"_s);
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        find<QPushButton>("btnnew")->setFocus();
        QTest::mouseClick(find<QPushButton>("btnnew"), Qt::LeftButton);
        QCOMPARE(message(), u"登録完了Mailの me:Secret1"_s);
        QVERIFY(!m_fixture->fakes.windowsDir.read("psw.ini").empty());
        QCOMPARE(find<QComboBox>("cmbnamae")->itemText(0), u"Mail"_s);
        // The button hid itself: the focus goes to the one that took its place, not to the message box.
        QCOMPARE(QApplication::focusWidget(), find<QPushButton>("btnnewmode"));
    }

    void passwordBoxRefusesWhatItCannotHold()
    {
        start();
        QTest::mouseClick(find<QPushButton>("btnnewmode"), Qt::LeftButton);
        auto* box = find<QLineEdit>("Txtpassnew");
        QTest::keyClicks(box, u"ab@"_s);
        QCOMPARE(box->text(), u"ab"_s);
        QCOMPARE(message(), u"入力可能文字ではありません"_s);
        // The next good character goes in, and the program takes the warning back.
        QTest::keyClick(box, Qt::Key_C);
        QCOMPARE(box->text(), u"abc"_s);
        QCOMPARE(message(), QString());
        QCOMPARE(view::toQString(m_window->Txtpassnew.text()), u"abc"_s);

        // Backspace is a character to the filter, and refused like any other.
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), u"abc"_s);
        QCOMPARE(message(), u"入力可能文字ではありません"_s);
        // Delete inserts nothing: it never meets the filter, and the program sees the shorter text.
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), u"bc"_s);
        QCOMPARE(view::toQString(m_window->Txtpassnew.text()), u"bc"_s);

        // A Japanese character typed directly.
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, u"あ"_s, Qt::NoModifier);
        QCOMPARE(box->text(), u"bc"_s);
        QCOMPARE(message(), u"入力可能文字ではありません"_s);
    }

    void inputMethodTextIsFilteredCharacterByCharacter()
    {
        start();
        QTest::mouseClick(find<QPushButton>("btnnewmode"), Qt::LeftButton);
        auto* box = find<QLineEdit>("Txtpassnew");
        box->setFocus();
        commit(box, u"ｐａｓｓ"_s);
        QCOMPARE(box->text(), QString());
        QCOMPARE(m_window->Txtpassnew.text(), u"");
        QCOMPARE(message(), u"入力可能文字ではありません"_s);

        commit(box, u"pa＃s"_s);
        QCOMPARE(box->text(), u"pas"_s);
        QCOMPARE(view::toQString(m_window->Txtpassnew.text()), u"pas"_s);

        auto* address = find<QLineEdit>("Txtbikouran");
        address->setFocus();
        commit(address, u"me@example.jp"_s);
        QCOMPARE(address->text(), u"me@example.jp"_s);
        QCOMPARE(view::toQString(m_window->Txtbikouran.text()), u"me@example.jp"_s);
    }

    void lengthBoxTakesDigitsOnly()
    {
        start();
        QTest::mouseClick(find<QPushButton>("btnnewmode"), Qt::LeftButton);
        auto* length = find<QLineEdit>("txtketasu");
        length->selectAll();
        QTest::keyClicks(length, u"1x6"_s);
        QCOMPARE(length->text(), u"16"_s);
        QTest::mouseClick(find<QPushButton>("btncleate"), Qt::LeftButton);
        QCOMPARE(find<QLineEdit>("Txtpassnew")->text().size(), 16);
    }

    void displayBoxesKeepTheProgramsText()
    {
        showAlice();
        auto* shown = find<QLineEdit>("Lblpassword");
        QTest::keyClicks(shown, u"zz"_s);
        QCOMPARE(shown->text(), u"pass123"_s);
        QCOMPARE(message(), u"モードを切り替えないと、この項目は入力できません：登録モード or 編集モード"_s);

        // A paste is no keystroke; the program's text comes back once the paste is over.
        QGuiApplication::clipboard()->setText(u"pasted"_s);
        shown->setFocus();
        shown->selectAll();
        shown->paste();
        QTRY_COMPARE(shown->text(), u"pass123"_s);
        QCOMPARE(view::toQString(m_window->Lblpassword.text()), u"pass123"_s);

        auto* messageBox = find<QLineEdit>("Txtmassage");
        QTest::keyClicks(messageBox, u"q"_s);
        QCOMPARE(message(), u"この項目は入力できません"_s);
    }

    void textReachesTheProgramWhateverBringsIt_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("way");
        for (const char* box : {"cmbnamae", "Txtidbox", "Txtpassnew", "Txtbikouran"})
            for (const char* way : {"typing", "Ctrl+V", "cut and undo", "drop", "input method",
                                    "assistive insert", "assistive replace", "assistive value"})
                QTest::newRow((QByteArray(box) + ", " + way).constData())
                    << QString::fromLatin1(box) << QString::fromLatin1(way);
    }

    void textReachesTheProgramWhateverBringsIt()
    {
        QFETCH(QString, box);
        QFETCH(QString, way);
        start();
        QTest::mouseClick(find<QPushButton>("btnnewmode"), Qt::LeftButton);
        auto* edit =
            box == u"cmbnamae"_s ? find<QComboBox>("cmbnamae")->lineEdit() : find<QLineEdit>(qPrintable(box));
        auto& control = controlNamed(box);
        int shown = 0;
        int taken = 0;
        connect(edit, &QLineEdit::textChanged, [&shown] { ++shown; });
        control.onChange = [&taken, earlier = control.onChange] {
            ++taken;
            if (earlier)
                earlier();
        };
        bring(edit, way);
        QCOMPARE(edit->text(), u"ab1"_s);
        QCOMPARE(view::toQString(control.text()), u"ab1"_s);
        QCOMPARE(taken, shown); // each change reached the program once

        // The program's next answer leaves the box as it is, and showing it back raises no change.
        QTest::mouseClick(find<QPushButton>("btnnew"), Qt::LeftButton);
        QCOMPARE(message(), u"記入漏れ"_s);
        QCOMPARE(edit->text(), u"ab1"_s);
        QCOMPARE(taken, shown);
        control.onChange = nullptr;
    }

    void aChosenIdShowsWhatTheFileHoldsNow_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("password"); // empty: the row has left the file
        QTest::newRow("click another ID") << u"click"_s << 1 << u"new-b2"_s;
        QTest::newRow("click the chosen ID") << u"click"_s << 0 << u"new-a1"_s;
        QTest::newRow("arrow key") << u"arrow"_s << 1 << u"new-b2"_s;
        QTest::newRow("assistive row") << u"assistive row"_s << 1 << u"new-b2"_s;
        QTest::newRow("assistive cell") << u"assistive cell"_s << 1 << u"new-b2"_s;
        QTest::newRow("double-click the chosen ID") << u"double-click"_s << 0 << u"new-a1"_s;
        QTest::newRow("double-click an ID gone from the file") << u"double-click"_s << 1 << QString();
    }

    void aChosenIdShowsWhatTheFileHoldsNow()
    {
        QFETCH(QString, way);
        QFETCH(int, row);
        QFETCH(QString, password);
        showAlice();
        auto* list = find<QListWidget>("Lstidbox");
        const QPoint at = list->visualItemRect(list->item(row)).center();
        if (way == u"double-click"_s)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        // Another program changes the file after the list was filled.
        std::vector<std::array<std::u16string, 3>> entries{{u"alice", u"new-a1", u"a@example.jp"}};
        if (row == 0 || !password.isEmpty())
            entries.push_back({u"bob", u"new-b2", u"b@example.jp"});
        m_fixture->fakes.windowsDir.write("psw.ini", dataFile(*m_fixture, u"Shop", entries));

        auto* table = QAccessible::queryAccessibleInterface(list)->tableInterface();
        if (way == u"click"_s) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        } else if (way == u"arrow"_s) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down);
        } else if (way == u"assistive row"_s) {
            QVERIFY(table->selectRow(row));
        } else if (way == u"assistive cell"_s) {
            table->cellAt(row, 0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        } else {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(find<QLineEdit>("Txtpassnew")->text(), password);
            QCOMPARE(find<QLineEdit>("Txtbikouran")->text(),
                     password.isEmpty() ? QString() : u"a@example.jp"_s);
            return;
        }
        QCOMPARE(m_window->Lstidbox.listIndex, row);
        QCOMPARE(find<QLineEdit>("Lblpassword")->text(), password);
    }

    void typingAnExistingDestinationIsNoChoice_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("leaving the box") << int(Qt::Key_Tab);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }

    void typingAnExistingDestinationIsNoChoice()
    {
        QFETCH(int, key);
        m_fixture->fakes.windowsDir.write("psw.ini",
                                          dataFile(*m_fixture, u"Shop", {{{u"alice", u"a1", u" "}}}));
        start();
        QApplication::setActiveWindow(m_view.get());
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        auto* combo = find<QComboBox>("cmbnamae");
        combo->setFocus();
        QTest::keyClicks(combo->lineEdit(), u"Shop"_s);
        m_window->Txtmassage.setText(u"前のメッセージ");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(view::toQString(m_window->Txtmassage.text()), u"前のメッセージ"_s);
        QCOMPARE(find<QListWidget>("Lstidbox")->count(), 0);
        QCOMPARE(view::toQString(m_window->cmbnamae.text()), u"Shop"_s);
    }

    void controlKeysMeetTheBoxFilters_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("control");
        QTest::addColumn<QString>("said");
        const QString notUsable = u"入力可能文字ではありません"_s;
        QTest::newRow("Enter, password") << u"Txtpassnew"_s << int(Qt::Key_Return) << false << notUsable;
        QTest::newRow("keypad Enter, address")
            << u"Txtbikouran"_s << int(Qt::Key_Enter) << false << notUsable;
        QTest::newRow("Escape, password") << u"Txtpassnew"_s << int(Qt::Key_Escape) << false << notUsable;
        QTest::newRow("Ctrl+K, address") << u"Txtbikouran"_s << int(Qt::Key_K) << true << notUsable;
        QTest::newRow("Enter, length")
            << u"txtketasu"_s << int(Qt::Key_Return) << false << u"5 桁から 20桁の間で指定して下さい。"_s;
        QTest::newRow("Ctrl+E, message box")
            << u"Txtmassage"_s << int(Qt::Key_E) << true << u"この項目は入力できません"_s;
    }

    void controlKeysMeetTheBoxFilters()
    {
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(bool, control);
        QFETCH(QString, said);
        start();
        QTest::mouseClick(find<QPushButton>("btnnewmode"), Qt::LeftButton);
        auto* edit = find<QLineEdit>(qPrintable(box));
        if (box != u"Txtmassage"_s)
            QTest::keyClicks(edit, u"12"_s);
        const QString before = edit->text();
        QTest::keyClick(edit, Qt::Key(key), control ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(message(), said);
        QCOMPARE(edit->text(), box == u"Txtmassage"_s ? said : before);
        // The editing shortcuts are no keystrokes to the filters.
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), edit->text());
        QCOMPARE(message(), said);
    }

    void theMessageBoxTellsAssistiveToolsEveryMessage()
    {
        wakeAccessibility(true);
        const auto previous = QAccessible::installUpdateHandler(listenToMessages);
        heard.clear();
        start();
        // The start-up message is read with the message box, which has the focus.
        QCOMPARE(heard, QStringList{});
        QTest::mouseClick(find<QPushButton>("btnnewmode"), Qt::LeftButton);
        auto* box = find<QLineEdit>("Txtpassnew");
        // Heard once, or (a null text) not at all.
        auto hears = [&](auto act, const QString& said) {
            heard.clear();
            act();
            QCOMPARE(heard, said.isNull() ? QStringList{} : QStringList{said});
        };
        const QString notUsable = u"入力可能文字ではありません"_s;
        hears([&] { QTest::keyClick(box, Qt::Key_At); }, notUsable);
        // The same refusal again is heard again, though the box's text stays the same.
        hears([&] { QTest::keyClick(box, Qt::Key_Return); }, notUsable);
        hears([&] { QTest::mouseClick(find<QPushButton>("btnnew"), Qt::LeftButton); }, u"記入漏れ"_s);
        QTest::keyClicks(find<QComboBox>("cmbnamae")->lineEdit(), u"Mail"_s);
        QTest::keyClicks(find<QLineEdit>("Txtidbox"), u"me"_s);
        QTest::keyClicks(box, u"a"_s);
        hears([&] { QTest::mouseClick(find<QPushButton>("btnnew"), Qt::LeftButton); },
              u"登録完了Mailの me:a"_s);
        QCOMPARE(find<QLineEdit>("Txtmassage")->accessibleName(), u"メッセージ"_s);
        // A handler that only clears the message box says nothing.
        hears([&] { QTest::mouseClick(find<QPushButton>("btnmordori"), Qt::LeftButton); }, QString());

        QAccessible::installUpdateHandler(previous);
        wakeAccessibility(false);
    }

    void helpKeyTellsWhenThereIsNoHelpFile()
    {
        start();
        QTest::keyClick(m_view.get(), Qt::Key_F1);
        QVERIFY(message().startsWith(u"ヘルプなし："_s));
        QVERIFY(m_fixture->fakes.help.shown().empty());

        m_fixture->fakes.rootDir.write("ORVANTA.HLP", "# Orvanta\n");
        QTest::keyClick(m_view.get(), Qt::Key_F1);
        QCOMPARE(m_fixture->fakes.help.shown().size(), std::size_t{1});
    }

    void helpViewerShowsOurGuideAsText()
    {
        // A short list is the browser's own, a long one or one that starts at 3 indented lines with
        // their marks; a link and a tag are text.
        std::string guide = "# Orvanta の使い方\n\n**登録先**を\n選びます。<a href=\"http://x/\">y</a>\n\n- "
                            "a\n- b\n\n3. c\n\nend\n\n";
        for (int i = 0; i < 70; ++i)
            guide += "1. item\n";
        view::QtHelpViewer viewer;
        QVERIFY(viewer.show(*form::readHelpFile(guide)));
        // The window the user sees on the screen, found as a screen reader finds it.
        QTextBrowser* shown = nullptr;
        const auto findShown = [&shown] {
            shown = nullptr;
            for (auto* widget : QApplication::topLevelWidgets())
                if (auto* browser = qobject_cast<QTextBrowser*>(widget); browser && browser->isVisible())
                    shown = browser;
        };
        findShown();
        QVERIFY(shown);
        QCOMPARE(shown->windowTitle(), u"Orvanta ヘルプ"_s);
        QVERIFY(shown->toPlainText().contains(u"登録先を選びます。"_s));
        QVERIFY(!shown->toPlainText().contains(u"*"_s));
        // (Word joiners, U+2060, keep the link whole on one line.)
        QVERIFY(shown->toPlainText().remove(QChar(0x2060)).contains(u"<a href=\"http://x/\">y</a>"_s));
        QVERIFY(shown->document()->findBlockByNumber(3).textList());
        QCOMPARE(shown->document()->findBlockByNumber(4).text(), u"3. c"_s);
        QVERIFY(!shown->document()->lastBlock().textList());
        QCOMPARE(shown->document()->lastBlock().text(), u"70. item"_s);
        QVERIFY(QTest::qWaitForWindowActive(shown));
        QTest::keyClick(shown, Qt::Key_Escape);
        findShown();
        QVERIFY(!shown);
    }
};

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    view::installJapaneseFonts();
    WindowViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowViewTest.moc"
