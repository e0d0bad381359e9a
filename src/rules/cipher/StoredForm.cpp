// The stored form of a text: each character's code under the table, and back.
#include "StoredForm.h"

namespace orvanta::cipher {

std::optional<std::u16string_view> codeOf(const CodeTable& table, char16_t character)
{
    if (const int k = alphabetPosition(character); k != 0)
        return table[k];
    return std::nullopt;
}

std::optional<char16_t> characterOf(const CodeTable& table, std::u16string_view code)
{
    for (int k = 1; k <= kAlphabetSize; ++k)
        if (table[k] == code)
            return UsableAlphabet[static_cast<std::size_t>(k - 1)];
    return std::nullopt;
}

std::u16string encode(const CodeTable& table, std::u16string_view plain)
{
    std::u16string stored;
    std::u16string_view last;
    for (std::size_t p = plain.size(); p >= 1; --p) {
        if (const auto code = codeOf(table, plain[p - 1]))
            last = *code;
        stored += last;
    }
    return stored;
}

std::u16string decode(const CodeTable& table, std::u16string_view stored)
{
    std::u16string plain;
    std::optional<char16_t> last;
    // Groups start at L-2, L-5, ... while the start stays above 0 (positions count from 1).
    for (long long p = static_cast<long long>(stored.size()) - 2; p > 0; p -= 3) {
        if (const auto character = characterOf(table, stored.substr(static_cast<std::size_t>(p - 1), 3)))
            last = character;
        if (last)
            plain += *last;
    }
    return plain;
}

} // namespace orvanta::cipher
