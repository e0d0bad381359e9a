// Telling with which machine's key the e-mail addresses of a backup were stored, so ロード can store
// them again with this machine's.
#include "MailKey.h"

#include "rules/cipher/StoredForm.h"

#include <algorithm>
#include <array>
#include <vector>

namespace orvanta::backup {

namespace {

constexpr auto npos = std::u16string_view::npos;

bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isLetterOrDigit(char16_t c)
{
    return isLetter(c) || (c >= u'0' && c <= u'9');
}

bool isLocalPart(std::u16string_view local)
{
    const auto allowed = [](char16_t c) {
        return isLetterOrDigit(c) || c == u'.' || c == u'_' || c == u'+' || c == u'-';
    };
    return !local.empty() && std::ranges::all_of(local, allowed) && isLetterOrDigit(local.front()) &&
           isLetterOrDigit(local.back()) && local.find(u"..") == npos;
}

bool isLabel(std::u16string_view label)
{
    const auto allowed = [](char16_t c) { return isLetterOrDigit(c) || c == u'-'; };
    return !label.empty() && std::ranges::all_of(label, allowed) && label.front() != u'-' &&
           label.back() != u'-';
}

bool isDomain(std::u16string_view domain)
{
    const auto lastDot = domain.rfind(u'.');
    if (lastDot == npos)
        return false;
    const auto topLevel = domain.substr(lastDot + 1);
    if (topLevel.size() < 2 || !std::ranges::all_of(topLevel, isLetter))
        return false;
    for (std::size_t start = 0;;) {
        const auto dot = domain.find(u'.', start);
        if (!isLabel(domain.substr(start, dot == npos ? npos : dot - start)))
            return false;
        if (dot == npos)
            return true;
        start = dot + 1;
    }
}

// Most addresses end in one of these, in small letters. The list is short on purpose: each ending
// more is one more chance for a note read with another key to pass for an address.
constexpr std::array<std::u16string_view, 21> kCommonTopLevelDomains{
    u"com", u"net", u"org", u"jp", u"info", u"biz", u"edu", u"gov", u"io", u"me", u"co",
    u"us",  u"uk",  u"ca",  u"au", u"de",   u"fr",  u"cn",  u"kr",  u"tw", u"hk",
};

// The different mail fields of the entry rows that hold something: empty and spaces-only fields (a
// header row's and many entry rows' " ") hold nothing. Sorted.
std::vector<std::u16string_view> mailFields(std::span<const store::PswRecord> rows)
{
    std::vector<std::u16string_view> fields;
    for (const auto& row : rows)
        if (!row.isHeader() && row.mail.find_first_not_of(u' ') != std::u16string::npos)
            fields.emplace_back(row.mail);
    std::ranges::sort(fields);
    fields.erase(std::unique(fields.begin(), fields.end()), fields.end());
    return fields;
}

const std::array<cipher::CodeTable, cipher::kAlphabetSize>& everyCodeTable()
{
    static const auto tables = [] {
        std::array<cipher::CodeTable, cipher::kAlphabetSize> all;
        for (int key = 0; key < cipher::kAlphabetSize; ++key)
            all[static_cast<std::size_t>(key)] = cipher::codeTableFor(key);
        return all;
    }();
    return tables;
}

} // namespace

bool isMailAddress(std::u16string_view text)
{
    const auto at = text.find(u'@');
    // The domain's labels hold no "@": one is all there is.
    return at != npos && isLocalPart(text.substr(0, at)) && isDomain(text.substr(at + 1));
}

bool hasCommonTopLevelDomain(std::u16string_view address)
{
    const auto dot = address.rfind(u'.');
    return dot != npos &&
           std::ranges::find(kCommonTopLevelDomains, address.substr(dot + 1)) != kCommonTopLevelDomains.end();
}

std::optional<int> foreignMailKey(std::span<const store::PswRecord> backupRows,
                                  std::span<const store::PswRecord> dataFileRows, long long ownKey)
{
    // A note of letters, digits and dots read with some other key passes for an address about once in
    // two hundred, and a second note made from the first ("taro.yamada2") then mostly passes too.
    // So one text is never enough, and the evidence is two different ones that end in a common
    // top-level domain under the one key that reads them all as addresses: pairs of such notes give
    // that a few times in a million.
    const auto fields = mailFields(backupRows);
    if (fields.size() < 2)
        return std::nullopt;
    // psw.ini holds this machine's stored form: a field it shares with the backup says that the
    // backup was made here, whatever its texts look like under other keys.
    const auto here = mailFields(dataFileRows);
    if (std::ranges::any_of(fields, [&here](auto field) { return std::ranges::binary_search(here, field); }))
        return std::nullopt;

    std::optional<int> fitting;
    int common = 0;
    for (int key = 0; key < cipher::kAlphabetSize; ++key) {
        const auto& table = everyCodeTable()[static_cast<std::size_t>(key)];
        int commonHere = 0;
        const bool fits = std::ranges::all_of(fields, [&](std::u16string_view field) {
            const auto plain = cipher::decode(table, field);
            if (!isMailAddress(plain) || cipher::encode(table, plain) != field)
                return false;
            commonHere += hasCommonTopLevelDomain(plain);
            return true;
        });
        if (!fits)
            continue;
        if (fitting)
            return std::nullopt; // the addresses do not tell the key
        fitting = key;
        common = commonHere;
    }
    if (!fitting || *fitting == ownKey % cipher::kAlphabetSize || common < 2)
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
