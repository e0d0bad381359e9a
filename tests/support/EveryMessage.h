#pragma once

// The messages the program composes for its message box, filled with the longest names, paths and
// causes a user meets, each made by the function that makes it for the window: the window tests of
// both systems measure each one against the box.
//
// The longest values: a destination of eight full-width characters and an ID of thirteen letters (a
// bank's name and a name-style ID; an ID that is a whole e-mail address is longer than a message that
// names an entry can hold, and the box's tooltip holds it whole), the generator's longest password
// (20 characters), a row number of two digits, the per-user program folder of the installer, a USB
// stick's folder, and the longest description each failure can have where it happens (on Windows with
// the note of the VirtualStore copy).

#include <string>
#include <vector>

namespace orvanta::test {

std::vector<std::u16string> everyMessage();

} // namespace orvanta::test
