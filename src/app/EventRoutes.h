#pragma once

#include "app/ControlTable.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvanta::app {

class MainWindow;

/// Where each control's events go: the same for every view of the window, so the views only
/// translate their toolkit's events and never decide which handler runs.
using KeyPressHandler = void (MainWindow::*)(std::int16_t&);
using ClickHandler = void (MainWindow::*)();

/// The boxes whose text the user writes: a view hands their text to the window as it changes.
bool isTypedBox(ControlId id);
/// The KeyPress handler a box's typing passes first; null for a control without one.
KeyPressHandler keyPressHandler(ControlId id);
/// A button's Click handler; null for other controls.
ClickHandler clickHandler(ControlId id);

/// The keys that do more on a focused control than type a character.
enum class ActionKey : std::uint8_t { Enter, Space };
/// What such a key does on the focused control.
enum class KeyAction : std::uint8_t {
    None,        ///< nothing beyond what the control itself does with the key
    Click,       ///< the control's Click, as a click of the mouse
    DoubleClick, ///< what a double-click does (openChosenId)
};
/// Enter and Space click a focused button, as on a Windows dialog; Enter on the ID list opens the
/// chosen ID for editing, as a double-click does, so that the keyboard reaches 更新する and 削除する.
/// Boxes take their keys as typing (their KeyPress handlers see Enter as CR).
KeyAction keyAction(ControlId id, ActionKey key);

/// The boxes for a password and an address take half-width letters only: the input method stays off
/// there, so that it never composes text the boxes would refuse, and an on-screen keyboard is told the
/// text is secret and Latin.
bool takesNoInputMethod(ControlId id);

/// Runs the handlers of one user event. A handler that stops on an error the program did not foresee
/// leaves the window as far as it got, with a message in Txtmassage that says the operation did not
/// finish, followed by the error's own description.
void runEvent(MainWindow& window, const std::function<void()>& handlers);

/// The user chose item `index` of cmbnamae's list: the box's text becomes that item, then
/// cmbnamae_Click runs.
void chooseDestination(MainWindow& window, int index);
/// The user chose item `index` of Lstidbox (-1: none), then Lstidbox_Click runs.
void chooseId(MainWindow& window, int index);

/// A double-click on Lstidbox, on an entry or not, or Enter on the list. As on Windows, the first
/// click of a double-click is a click too: the chosen entry's password is read again from the file
/// (Lstidbox_Click), then Lstidbox_DblClick opens it for editing, or says that no ID is chosen.
void openChosenId(MainWindow& window);

/// Text typed into a box after its KeyPress handler has seen it.
struct TypedText {
    std::u16string accepted; ///< what goes into the box
    bool changed = false;    ///< the handler refused or replaced at least one character
};

/// Hands each character of `typed` to the box's KeyPress handler as Windows does, one keystroke at
/// a time with its code-page key code: a character the handler sets to 0 is dropped, one it changes
/// becomes the character of the new code.
TypedText passKeyPress(MainWindow& window, KeyPressHandler handler, std::u16string_view typed);

} // namespace orvanta::app
