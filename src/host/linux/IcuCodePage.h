#pragma once

// The code page of psw.ini on Linux, converted through ICU.

#include "host/CodePage.h"

namespace orvanta::host {

/// Windows-31J (code page 932) through ICU, mapped exactly as Japanese Windows maps it.
///
/// Encoding fails on the first character the code page cannot hold, including the invisible ones
/// (zero-width space, soft hyphen, variation selectors...) that ICU would otherwise drop without a
/// word, and on an unpaired surrogate. Decoding fails on the first byte that starts no character.
class IcuCodePage final : public CodePage {
public:
    Encoded encode(std::u16string_view text) const override;
    Decoded decode(std::string_view bytes) const override;
};

} // namespace orvanta::host
