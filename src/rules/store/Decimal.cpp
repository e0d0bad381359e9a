// Decimal numbers to and from text, without the locale: a count in psw.ini is the same on every machine.
#include "Decimal.h"

#include <charconv>
#include <limits>

namespace orvanta::store {

long long leadingNumber(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i] - u'0';
        if (value > (std::numeric_limits<long long>::max() - digit) / 10)
            return negative ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::u16string decimalText(long long number)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::u16string(buffer, result.ptr);
}

} // namespace orvanta::store
