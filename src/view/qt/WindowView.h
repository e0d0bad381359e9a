#pragma once

// The program's Qt window, a mirror of MainWindow.

#include "form/EventRoutes.h"
#include "form/MainWindow.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QInputMethodQueryEvent;
class QKeyEvent;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace orvanta::view {

class MessageNotice;

/// The program's window on screen. Its widgets are built from the design table, one per control.
///
/// Every user event goes to the window's handler in the core; afterwards the view copies the state
/// of every control (text, list entries, selection, visibility) back into the widgets, with their
/// signals blocked so that the copy raises no events of its own. The widgets hold nothing the core
/// does not know: a text pasted into a box that only shows values is replaced by the core's text.
class WindowView : public QWidget {
    Q_OBJECT
public:
    explicit WindowView(form::MainWindow& window, QWidget* parent = nullptr);
    ~WindowView() override;

    /// Runs the window's start-up and shows the controls' state. The picture it found, and the
    /// captions' sizes, follow just before the window's first paint (finishBeforeFirstPaint).
    void load();
    /// Puts up the picture start-up found beside the program, when there is one.
    void showPicture();
    /// Fits the captions to their labels and puts up the picture: the first paint's work.
    void finishBeforeFirstPaint();

    /// The widget built for a control; null for a control the first screen hides, until the window
    /// is on the screen.
    QWidget* widget(form::ControlId id) const { return m_widgets[static_cast<std::size_t>(id)]; }

    /// Copies the state of every control into its widget.
    void mirror();

Q_SIGNALS:
    /// The window has come on the screen: its first paint's work is done, and the paint follows.
    void appeared();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    using KeyPressHandler = form::KeyPressHandler;

    /// Makes the controls not made yet: with `shownOnly`, only those the core shows now.
    void build(bool shownOnly);
    QWidget* makeWidget(const form::ControlDesign& design);
    void connectEvents(const form::ControlDesign& design, QWidget* widget);
    void connectCombo(QComboBox* combo);
    void connectList(QListWidget* list);
    void connectBox(form::ControlId id, QLineEdit* box);
    void arrangeTabOrder();
    void arrangeStacking();

    /// Runs a handler of the core, then shows the result.
    void route(const std::function<void()>& handler);
    /// Puts the whole message into the message box's tooltip and description.
    void showWholeMessage();
    /// Hands a message the handlers wrote to screen readers.
    void announceMessage();
    /// Chooses entry `row` of the ID list (-1 for none) and runs its Click handler.
    void chooseId(int row);
    /// Copies out of a box that may show a password go the way of クリップ, marked as a secret; X's
    /// primary selection never gets its text.
    void keepSecret(form::ControlId id, QLineEdit* box);
    /// Copy, cut or select all by keys in such a box, or the release that ends a selection by mouse:
    /// true when the event was taken here.
    bool copyOutOfSecretBox(form::ControlId id, QLineEdit* box, const QEvent& event);
    /// Puts the text selected in such a box on the clipboard through the core, if there is any; a cut
    /// then takes it out of a box the user writes in.
    void copySecret(form::ControlId id, QLineEdit* box, bool cut);

    /// The input method asks a box for a password or an address whether it takes composition: no.
    bool keepInputMethodOff(QLineEdit* box, QInputMethodQueryEvent& query);
    /// Enter or Space on a button or the ID list: true when the key did the control's action here.
    bool takeActionKey(QObject* watched, const QKeyEvent& key);
    /// A key that moves the choice in the ID list: true when it was taken here. Each new choice runs
    /// the list's Click handler, as a click does.
    bool chooseByKey(const QKeyEvent& key);
    /// Keystrokes for one of the filtered boxes: true when the event was taken here.
    bool filterTyping(form::ControlId id, KeyPressHandler handler, QLineEdit* box, QEvent* event);
    /// Puts every character of `typed` through the box's KeyPress handler; what the handler let
    /// through, and whether that differs from what was typed.
    std::pair<QString, bool> passThroughHandler(KeyPressHandler handler, const QString& typed);
    /// Delivers an event to a box past the filter, as typing the box accepts.
    void forward(form::ControlId id, QLineEdit* box, QEvent& event);

    form::MainWindow& m_window;
    std::array<QWidget*, form::kControlCount> m_widgets{};
    /// Hands each new message to screen readers.
    MessageNotice* m_notice = nullptr;
    bool m_mirroring = false;
    /// The message box's Change event as the window had it, and how often handlers wrote a message.
    std::function<void()> m_messageChange;
    std::uint64_t m_messageWrites = 0;
    std::uint64_t m_messagesAnnounced = 0;
    /// Whether the press of the click under way has already run the ID list's Click handler.
    bool m_clickRan = false;
    /// Whether the window has been made ready for its first paint (finishBeforeFirstPaint).
    bool m_finished = false;
    /// Whether a box for a password or an address is answering the input method's question itself.
    bool m_answeringInputMethod = false;
    /// The box a filtered keystroke is being delivered to, while it is.
    std::optional<form::ControlId> m_forwardingTo;
};

} // namespace orvanta::view
