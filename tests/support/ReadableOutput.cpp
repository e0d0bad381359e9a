// UTF-16 text printed as UTF-8 in test failures, and case titles made test names.
#include "support/ReadableOutput.h"

#include "host/Utf8.h"

#include <cctype>
#include <cstdio>

namespace orvanta::test {

void printUtf16(std::u16string_view text, std::ostream& os)
{
    const auto utf8 = host::toUtf8(text);
    if (!utf8) {
        testing::internal::PrintU16StringTo(std::u16string(text), &os);
        return;
    }
    os << "u\"";
    for (const char c : *utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            os << '\\' << c;
        } else if (c == '\n') {
            os << "\\n";
        } else if (c == '\r') {
            os << "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            os << escaped;
        } else {
            os << c;
        }
    }
    os << '"';
}

std::string testName(std::string_view title)
{
    std::string name;
    for (const char c : title)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

} // namespace orvanta::test
