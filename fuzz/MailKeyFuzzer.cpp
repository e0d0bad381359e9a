// The rule by which ロード tells the key of a backup's e-mail addresses, over any rows: it never
// crashes, never names this machine's key, never re-keys a backup that shares a mail field with
// psw.ini, and names a key only when that key alone reads every mail field as an address and two of
// them end in a common top-level domain; a file so re-keyed is not re-keyed again on this machine, and
// goes back to the old key on the old one.
//
// Input: the first byte gives this machine's key, the second the key of the machine that wrote the
// backup (both modulo 82), then one row a line, its first byte saying what the rest of the line is:
//   b  a mail field of the backup, typed on the old machine (the text, stored with the old key)
//   r  a mail field of the backup as it stands (" ", "", any text)
//   h  a header row of the backup, with a mail field as it stands
//   d  a mail field of psw.ini, typed on the old machine
//   o  a mail field of psw.ini, typed on this machine
// Typed text keeps the characters that have a code; every other byte becomes one.
#include "Promises.h"
#include "rules/backup/MailKey.h"
#include "rules/cipher/StoredForm.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace orvanta;

constexpr orvanta::fuzz::Promises check{"mail key"};

std::u16string typed(std::string_view bytes)
{
    std::u16string text;
    for (const unsigned char b : bytes)
        text += cipher::alphabetPosition(b) != 0 ? static_cast<char16_t>(b)
                                                 : cipher::UsableAlphabet[b % cipher::kAlphabetSize];
    return text;
}

bool blank(const store::PswRecord& row)
{
    return row.isHeader() || row.mail.find_first_not_of(u' ') == std::u16string::npos;
}

constexpr auto npos = std::u16string_view::npos;
constexpr std::u16string_view kAddressCharacters =
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-_+@";
constexpr std::u16string_view kLetters = kAddressCharacters.substr(0, 52);

// What an address is, said another way than the rule says it: the characters it may hold, where it
// starts and ends, and the pairs it may not hold.
void checkAddressShape(std::u16string_view text)
{
    if (!backup::isMailAddress(text))
        return;
    const auto isLetterOrDigit = [](char16_t c) { return kAddressCharacters.substr(0, 62).find(c) != npos; };
    check(std::ranges::count(text, u'@') == 1, "an address without exactly one at sign");
    check(text.find_first_not_of(kAddressCharacters) == npos, "an address with a character it may not hold");
    const auto local = text.substr(0, text.find(u'@'));
    const auto domain = text.substr(local.size() + 1);
    check(!local.empty() && isLetterOrDigit(local.front()) && isLetterOrDigit(local.back()) &&
              local.find(u"..") == npos,
          "a name before the at sign that starts or ends with a mark, or holds two dots");
    check(domain.find_first_of(u"_+") == npos, "a domain with _ or +");
    for (const auto pair : {u"..", u".-", u"-."})
        check(domain.find(pair) == npos, "a domain with a label that is empty or starts or ends with -");
    check(isLetterOrDigit(domain.front()) && domain.find(u'.') != npos, "a domain of one label");
    const auto last = domain.substr(domain.rfind(u'.') + 1);
    check(last.size() >= 2 && last.find_first_not_of(kLetters) == npos, "a top-level domain that is no word");
}

/// Every key under which each of `fields` reads as an address and encodes back to itself.
std::vector<int> keysReadingAddresses(const std::set<std::u16string>& fields)
{
    std::vector<int> keys;
    for (int key = 0; key < cipher::kAlphabetSize; ++key) {
        const auto table = cipher::codeTableFor(key);
        if (std::ranges::all_of(fields, [&](const std::u16string& field) {
                const auto plain = cipher::decode(table, field);
                return backup::isMailAddress(plain) && cipher::encode(table, plain) == field;
            }))
            keys.push_back(key);
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int ownKey = data[0] % 82;
    const int oldKey = data[1] % 82;
    const auto ownTable = cipher::codeTableFor(ownKey);
    const auto oldTable = cipher::codeTableFor(oldKey);

    std::vector<store::PswRecord> backupRows;
    std::vector<store::PswRecord> dataFileRows;
    const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
    for (std::size_t start = 0; start < input.size() && backupRows.size() + dataFileRows.size() < 32;) {
        const auto end = std::min(input.find('\n', start), input.size());
        const auto line = input.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        const auto rest = line.substr(1);
        std::u16string asItStands;
        for (const unsigned char b : rest)
            asItStands += static_cast<char16_t>(b);
        checkAddressShape(asItStands);
        checkAddressShape(typed(rest));
        switch (line[0]) {
        case 'b':
            backupRows.push_back({u"Site", u"id", u"", u" ", cipher::encode(oldTable, typed(rest))});
            break;
        case 'h':
            backupRows.push_back({u"hyoujimark", u"Site", u"", u"1", asItStands});
            break;
        case 'd':
            dataFileRows.push_back({u"Site", u"id", u" ", u" ", cipher::encode(oldTable, typed(rest))});
            break;
        case 'o':
            dataFileRows.push_back({u"Site", u"id", u" ", u" ", cipher::encode(ownTable, typed(rest))});
            break;
        default:
            backupRows.push_back({u"Site", u"id", u"", u" ", asItStands});
            break;
        }
    }

    // A backup loaded over the psw.ini it was made of is this machine's, whatever it holds.
    check(!backup::foreignMailKey(backupRows, backupRows, ownKey), "a backup re-keyed over its own psw.ini");

    const auto key = backup::foreignMailKey(backupRows, dataFileRows, ownKey);
    if (!key)
        return 0;
    check(*key >= 0 && *key < cipher::kAlphabetSize, "a key outside 0 to 80");
    check(*key != ownKey % cipher::kAlphabetSize, "this machine's own key named as another");

    std::set<std::u16string> fields;
    for (const auto& row : backupRows)
        if (!blank(row))
            fields.insert(row.mail);
    for (const auto& row : dataFileRows)
        check(blank(row) || !fields.contains(row.mail), "re-keyed a backup that shares a field with psw.ini");
    check(keysReadingAddresses(fields) == std::vector<int>{*key},
          "the key named is not the only one that fits");
    const auto keyTable = cipher::codeTableFor(*key);
    check(std::ranges::count_if(fields,
                                [&](const std::u16string& field) {
                                    return backup::hasCommonTopLevelDomain(cipher::decode(keyTable, field));
                                }) >= 2,
          "re-keyed on fewer than two addresses with a common ending");

    // The rows as ロード stores them on this machine: loaded here again, they stay as they are; on
    // the old machine, they go back to its key.
    auto rekeyed = backupRows;
    for (auto& row : rekeyed)
        if (!blank(row))
            row.mail = cipher::encode(ownTable, cipher::decode(keyTable, row.mail));
    check(!backup::foreignMailKey(rekeyed, {}, ownKey), "a re-keyed file re-keyed again");
    check(backup::foreignMailKey(rekeyed, {}, *key) == ownKey % cipher::kAlphabetSize,
          "a re-keyed file does not go back to the old key");
    return 0;
}
