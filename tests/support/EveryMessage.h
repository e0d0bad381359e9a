#pragma once

// Every message the program composes for its message box, filled with the longest names, paths and
// causes a user meets: the window tests of both systems measure each one against the box.

#include <string>
#include <vector>

namespace orvanta::test {

std::vector<std::u16string> everyMessage();

} // namespace orvanta::test
