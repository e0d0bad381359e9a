#pragma once

// Folding full-width text to half-width, so drive names compare as the first version compared them.

#include <string>
#include <string_view>

namespace orvanta::host {

/// The text with its full-width letters, digits, signs, spaces and katakana folded to their half-width
/// forms ("３．５　インチ　ＦＤ" -> "3.5 ｲﾝﾁ FD"), as the shell's drive names are compared. Characters
/// without a half-width form come back unchanged.
std::u16string toHalfwidth(std::u16string_view text);

} // namespace orvanta::host
