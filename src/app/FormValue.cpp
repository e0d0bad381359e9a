// The form-level variables' values: empty, a number or a text, and how they compare.
#include "FormValue.h"

#include <charconv>
#include <limits>

namespace orvanta::app {

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

namespace {
bool isDecimalText(std::u16string_view text)
{
    if (text.empty())
        return false;
    for (char16_t c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}
} // namespace

long long FormValue::number() const
{
    if (const auto* n = std::get_if<long long>(&m_value))
        return *n;
    if (const auto* t = std::get_if<std::u16string>(&m_value))
        return leadingNumber(*t);
    return 0;
}

std::u16string FormValue::text() const
{
    if (const auto* n = std::get_if<long long>(&m_value))
        return decimalText(*n);
    if (const auto* t = std::get_if<std::u16string>(&m_value))
        return *t;
    return {};
}

bool operator==(const FormValue& value, long long number)
{
    if (value.isEmpty())
        return number == 0;
    if (value.isNumber())
        return std::get<long long>(value.m_value) == number;
    const auto& text = std::get<std::u16string>(value.m_value);
    return isDecimalText(text) && leadingNumber(text) == number;
}

bool operator==(const FormValue& value, std::u16string_view text)
{
    if (value.isEmpty())
        return text.empty();
    return std::u16string_view(value.text()) == text;
}

} // namespace orvanta::app
