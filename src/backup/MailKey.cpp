// Telling with which machine's key the e-mail addresses of a backup were stored, so ロード can store
// them again with this machine's.
#include "MailKey.h"

#include "cipher/StoredForm.h"

#include <algorithm>
#include <array>

namespace orvanta::backup {

namespace {

bool isDomainCharacter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
           c == u'.';
}

// The mail field of an entry row holds an address unless it is empty or spaces only (as a header row's
// and many entry rows' " ").
bool holdsAddress(const store::PswRecord& row)
{
    return !row.isHeader() && row.mail.find_first_not_of(u' ') != std::u16string::npos;
}

} // namespace

bool isMailAddress(std::u16string_view text)
{
    const auto at = text.find(u'@');
    if (at == std::u16string_view::npos || at == 0 || text.find(u'@', at + 1) != std::u16string_view::npos)
        return false;
    const auto domain = text.substr(at + 1);
    return !domain.empty() && std::ranges::all_of(domain, isDomainCharacter) && domain.front() != u'.' &&
           domain.back() != u'.' && domain.find(u'.') != std::u16string_view::npos;
}

std::optional<int> foreignMailKey(std::span<const store::PswRecord> rows, long long ownKey)
{
    if (std::ranges::none_of(rows, holdsAddress))
        return std::nullopt;
    std::optional<int> fitting;
    for (int key = 0; key < cipher::kAlphabetSize; ++key) {
        const auto table = cipher::codeTableFor(key);
        const bool fits = std::ranges::all_of(rows, [&table](const store::PswRecord& row) {
            if (!holdsAddress(row))
                return true;
            const auto plain = cipher::decode(table, row.mail);
            return isMailAddress(plain) && cipher::encode(table, plain) == row.mail;
        });
        if (!fits)
            continue;
        if (fitting)
            return std::nullopt; // the addresses do not tell the key
        fitting = key;
    }
    if (fitting && *fitting == ownKey % cipher::kAlphabetSize)
        return std::nullopt;
    return fitting;
}

std::u16string rekeyedMailNote(int key)
{
    const std::array<char16_t, 2> digits{static_cast<char16_t>(u'0' + key / 10),
                                         static_cast<char16_t>(u'0' + key % 10)};
    return u"　メールアドレスを暗号化キー " + std::u16string(digits.begin(), digits.end()) +
           u" から引き継ぎました。";
}

} // namespace orvanta::backup
