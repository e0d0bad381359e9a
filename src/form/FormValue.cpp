// The form-level variables' values: empty, a number or a text, and how they compare.
#include "FormValue.h"

#include "rules/store/Decimal.h"

namespace orvanta::app {

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
        return store::leadingNumber(*t);
    return 0;
}

std::u16string FormValue::text() const
{
    if (const auto* n = std::get_if<long long>(&m_value))
        return store::decimalText(*n);
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
    return isDecimalText(text) && store::leadingNumber(text) == number;
}

bool operator==(const FormValue& value, std::u16string_view text)
{
    if (value.isEmpty())
        return text.empty();
    return std::u16string_view(value.text()) == text;
}

} // namespace orvanta::app
