#pragma once

// The code page service: UTF-16 to and from the Shift_JIS bytes of psw.ini and the keystroke codes.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace orvanta::host {

/// A character that the code page cannot hold, or bytes that are no character of it.
struct CodePageError {
    /// Index of the offending UTF-16 unit (encode) or byte (decode).
    std::size_t position = 0;
    /// The offending character (encode only; 0 when decoding).
    char32_t character = 0;
};

/// The system's ANSI code page: Windows-31J (code page 932), as Japanese Windows reads and writes text files.
/// Both directions are strict: nothing is ever replaced by "?" or dropped without a word.
class CodePage {
public:
    virtual ~CodePage() = default;

    using Encoded = std::variant<std::string, CodePageError>;
    using Decoded = std::variant<std::u16string, CodePageError>;

    virtual Encoded encode(std::u16string_view text) const = 0;
    virtual Decoded decode(std::string_view bytes) const = 0;
};

} // namespace orvanta::host
