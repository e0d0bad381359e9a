#pragma once

// Decimal numbers as the data file writes and reads its counts, and as messages name rows and lengths.

#include <string>
#include <string_view>

namespace orvanta::store {

/// The leading decimal number of a text, after leading spaces, as the data file's counts are read
/// (" " and "" are 0, "12abc" is 12).
long long leadingNumber(std::u16string_view text);
/// A plain decimal text of a number ("2", "10", "-1").
std::u16string decimalText(long long number);

} // namespace orvanta::store
