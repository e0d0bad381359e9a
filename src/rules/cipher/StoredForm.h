#pragma once

// How passwords and e-mail addresses are stored in psw.ini: encode and decode over the code table.

#include "rules/cipher/CodeTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::cipher {

/// The code of one character under `table`, or nothing when the character has no code.
std::optional<std::u16string_view> codeOf(const CodeTable& table, char16_t character);

/// The character whose code under `table` is `code`, or nothing when no character has it.
std::optional<char16_t> characterOf(const CodeTable& table, std::u16string_view code);

/// The stored form of a plain text: the codes of its characters, from the last character to the
/// first; the empty text stays empty. A character without a code repeats the code written before it
/// (none at the start): the entry checks keep such characters out, and stored files rely on nothing else.
std::u16string encode(const CodeTable& table, std::u16string_view plain);

/// The plain text of a stored text, its three-letter groups read from the last to the first. A length
/// that is no multiple of three loses its first one or two letters; a group that is no code repeats the
/// character read before it (none at the start).
std::u16string decode(const CodeTable& table, std::u16string_view stored);

} // namespace orvanta::cipher
