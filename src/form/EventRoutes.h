#pragma once

// The routes from a control's events to the window's handlers, one table for both views.

#include "form/ControlTable.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::form {

class MainWindow;

/// Where each control's events go: the same for every view of the window, so the views only
/// translate their toolkit's events and never decide which handler runs.
using KeyPressHandler = void (MainWindow::*)(std::int16_t&);
using ClickHandler = void (MainWindow::*)();
using CopyHandler = void (MainWindow::*)(std::u16string_view);

/// The boxes whose text the user writes: a view hands their text to the window as it changes.
bool isTypedBox(ControlId id);
/// The KeyPress handler a box's typing passes first; null for a control without one.
KeyPressHandler keyPressHandler(ControlId id);
/// A button's Click handler; null for other controls.
ClickHandler clickHandler(ControlId id);
/// For a box that may show a password: the handler that takes what the user copies or cuts out of it
/// (keys, the box's menu), so that it reaches the clipboard only as a secret. Such a box never hands
/// its text on by any other way: not to X's primary selection, not by dragging. Null for other boxes,
/// whose copies are the toolkit's own.
CopyHandler copyHandler(ControlId id);

/// The keys that act on the control with the focus, as they do in a Visual Basic form or a Windows dialog.
enum class ActionKey { Enter, Space };
/// The event such a key raises.
enum class KeyAction { None, Click, DblClick };
/// The event a key raises on the focused control: Enter and Space click a button; Enter on the ID list
/// does what a double-click does, so that a keyboard alone reaches 更新する and 削除する. On every other
/// control the key stays the control's own: the boxes' KeyPress filters see Enter as a character.
KeyAction keyActionOn(ControlId focused, ActionKey key);

/// The keys that move the choice in the ID list.
enum class ListKey { Up, Down, Home, End, PageUp, PageDown, Space };
/// The entry a key chooses in a list of `count` entries in which entry `chosen` is chosen (-1 for
/// none), as in a Windows list box, so that the keyboard alone reaches every entry. With nothing
/// chosen, End chooses the last entry, PageDown the last one of the first page, and every other key
/// the first. Once one is chosen, Up and Down move the choice by one entry, PageUp and PageDown by
/// `page` entries (those the list shows at once), Home and End to either end. Empty when the choice
/// stays as it is: an empty list, Up on the first entry, Space on the chosen one.
std::optional<int> listKeyChoice(ListKey key, int chosen, int count, int page);

/// The boxes for a password and an address take half-width letters only: the input method stays off
/// there, so that it never composes text the boxes would refuse, and an on-screen keyboard is told the
/// text is secret and Latin.
bool takesNoInputMethod(ControlId id);

/// The message box's tooltip and its description for assistive tools: what the box is for, then, on a
/// line of its own, the whole message it shows (a message wider than the box is cut at its edge).
std::u16string wholeMessageTip(std::u16string_view message, std::u16string_view lineBreak = u"\n");

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

} // namespace orvanta::form
