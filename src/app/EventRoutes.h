#pragma once

#include "app/ControlTable.h"

#include <cstdint>
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
