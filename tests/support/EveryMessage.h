#pragma once

// The messages the program composes for its message box, filled with the longest names, paths and
// causes a user meets, most made by the function that makes them for the window: the window tests of
// both systems measure each one against the box. A refusal of ロード that names a row of the backup
// (its destination and ID) and the note of a write whose folder did not reach the disk are longer
// than the box; the box's tooltip holds them whole.

#include <string>
#include <vector>

namespace orvanta::test {

std::vector<std::u16string> everyMessage();

} // namespace orvanta::test
