#pragma once

// The name a message gives a refused character, so the user sees which one it was.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::cipher {

/// A character as a message names it between brackets: the character itself, or what it is when the
/// user could not see it there ("空白", "全角空白", "制御文字").
std::u16string characterName(char32_t character);

/// The name of the character that starts at `index` of a text (both halves of a surrogate pair).
std::u16string characterNameAt(std::u16string_view text, std::size_t index);

/// The first character of a text that has no code, as a message names it ("使えない文字（あ）");
/// nothing when every character has one.
std::optional<std::u16string> uncodableCharacterText(std::u16string_view text);

/// The same character in fewer words, for a message that names much else: a word for one the user
/// could not see ("全角空白"), else the character in corner brackets ("「あ」").
std::optional<std::u16string> uncodableCharacterShort(std::u16string_view text);

} // namespace orvanta::cipher
