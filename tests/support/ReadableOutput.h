// What a failing test prints, made readable: UTF-16 text as the Japanese it is rather than
// u"\x8A18\x5165…", and a case's title as a test name. Every test file built on the test support
// library gets this header ahead of its own includes.
#pragma once

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <string_view>

namespace orvanta::test {

/// The text as UTF-8 within u"…", with quotes, backslashes and control characters escaped; an
/// unpaired surrogate, which UTF-8 cannot hold, falls back to GoogleTest's escapes.
void printUtf16(std::u16string_view text, std::ostream& os);

/// A case's title as a test name: letters and digits, everything else "_".
std::string testName(std::string_view title);

} // namespace orvanta::test

namespace testing::internal {

// GoogleTest prints through these when it shows a value in a failure or a parameter.
template <> class UniversalPrinter<std::u16string> {
public:
    static void Print(const std::u16string& text, std::ostream* os) { orvanta::test::printUtf16(text, *os); }
};

template <> class UniversalPrinter<std::u16string_view> {
public:
    static void Print(std::u16string_view text, std::ostream* os) { orvanta::test::printUtf16(text, *os); }
};

} // namespace testing::internal
