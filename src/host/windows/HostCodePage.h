#pragma once

// The code page of psw.ini on Windows, converted by the system itself.

#include "host/CodePage.h"

namespace orvanta::host {

/// Code page 932 through Windows' own conversion (MultiByteToWideChar / WideCharToMultiByte), so text
/// is mapped exactly as the system maps it.
///
/// Encoding fails on the first character that code page 932 cannot hold: the system's best-fit
/// mappings ("¥" to "\", "é" to "e") and its default character "?" are refused, and so is an unpaired
/// surrogate. Decoding fails on the first byte that starts no character.
class HostCodePage final : public CodePage {
public:
    Encoded encode(std::u16string_view text) const override;
    Decoded decode(std::string_view bytes) const override;
};

} // namespace orvanta::host
