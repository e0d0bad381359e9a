#pragma once

// What a failed Windows call means, in Japanese, for the message box.

#include <cstdint>
#include <optional>
#include <string>

namespace orvanta::host {

/// What a failed Windows call means (its GetLastError code), for the message box: the system's own
/// message in Japanese when it has one, else the program's wording for the common errors (the words
/// of errorDescription), else a general text with the number.
std::u16string systemErrorDescription(std::uint32_t error);

} // namespace orvanta::host
