#pragma once

// A value of the window state (dousafrag, inputkensu, ...), which compares as the first version's did.

#include <string>
#include <string_view>
#include <variant>

namespace orvanta::app {

/// A form-level variable of the window: empty until first set, then a number or a text.
/// An empty value compares equal to 0 and to the empty text, and unequal to 1; a text compares
/// equal to a number when it is a decimal number of that value ("07" equals 7).
class FormValue {
public:
    FormValue() = default;
    FormValue(long long number) : m_value(number) {}
    FormValue(int number) : m_value(static_cast<long long>(number)) {}
    FormValue(std::u16string text) : m_value(std::move(text)) {}
    FormValue(const char16_t* text) : m_value(std::u16string(text)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isNumber() const { return std::holds_alternative<long long>(m_value); }

    /// The numeric value: a number as it is, a text's leading decimal number (0 when it has none),
    /// 0 when empty.
    long long number() const;
    /// The text: a text as it is, a number in plain decimal, the empty text when empty.
    std::u16string text() const;

    friend bool operator==(const FormValue& value, long long number);
    friend bool operator==(const FormValue& value, int number)
    {
        return value == static_cast<long long>(number);
    }
    friend bool operator==(const FormValue& value, std::u16string_view text);
    friend bool operator==(const FormValue& value, const char16_t* text)
    {
        return value == std::u16string_view(text);
    }

private:
    std::variant<std::monostate, long long, std::u16string> m_value;
};

} // namespace orvanta::app
