// How often ロード re-keys the e-mail addresses of a backup when it should not, and how often it does
// when it should. Not a benchmark of speed: a measurement of the rule over generated backups, seeded so
// that every run prints the same figures. bench/README.md keeps the last figures and what they answer.
//
// Usage: mail_key_rates [samples, default 20000]
#include "rules/backup/MailKey.h"
#include "rules/cipher/StoredForm.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace orvanta;

std::mt19937 random(20260203);

std::size_t below(std::size_t n)
{
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

std::u16string randomText(std::u16string_view characters, std::size_t shortest, std::size_t longest)
{
    std::u16string text(shortest + below(longest - shortest + 1), u' ');
    for (auto& c : text)
        c = characters[below(characters.size())];
    return text;
}

constexpr std::u16string_view kLower = u"abcdefghijklmnopqrstuvwxyz";
// What people type into an address box as a note: names, dates, numbers, dotted and dashed words.
constexpr std::u16string_view kNoteCharacters =
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-";
// Every character that has a code but "@".
constexpr std::u16string_view kAllButAt{cipher::UsableAlphabet.data(), cipher::kAlphabetSize - 1};

constexpr std::array<std::u16string_view, 17> kLocalParts{
    u"taro",  u"hanako",   u"yamada",   u"suzuki",      u"info",          u"support",
    u"admin", u"k.tanaka", u"ichiro_s", u"m-sato",      u"sato1980",      u"a",
    u"x",     u"hanako.s", u"jiro2001", u"Taro.Yamada", u"t.yamada+shop",
};
constexpr std::array<std::u16string_view, 14> kDomains{
    u"example.com",   u"gmail.com",  u"yahoo.co.jp",   u"docomo.ne.jp",   u"ezweb.ne.jp",
    u"i.softbank.jp", u"outlook.jp", u"icloud.com",    u"nifty.com",      u"mail.example.org",
    u"x.jp",          u"au.com",     u"hotmail.co.jp", u"softbank.ne.jp",
};
// Endings outside the common ones.
constexpr std::array<std::u16string_view, 3> kRareDomains{u"example.ch", u"mail.xyz", u"web.se"};

std::u16string randomAddress(bool common)
{
    return std::u16string(kLocalParts[below(kLocalParts.size())]) + u"@" +
           std::u16string(common ? kDomains[below(kDomains.size())]
                                 : kRareDomains[below(kRareDomains.size())]);
}

/// A backup's rows: one destination, one entry row for each mail text, stored with `key`.
std::vector<store::PswRecord> backupRows(const std::vector<std::u16string>& mails, int key)
{
    const auto table = cipher::codeTableFor(key);
    std::vector<store::PswRecord> rows{{u"hyoujimark", u"Site", u"", u"1", u" "}};
    for (const auto& mail : mails)
        rows.push_back({u"Site", u"id", u"pw", u" ", mail == u" " ? mail : cipher::encode(table, mail)});
    return rows;
}

struct Tally {
    const char* what;
    int samples = 0;
    int hits = 0;
};

void print(const Tally& t)
{
    std::printf("  %-60s %6d of %7d  (%.4f %%)\n", t.what, t.hits, t.samples,
                t.samples == 0 ? 0.0 : 100.0 * t.hits / t.samples);
}

/// Whether notes typed on a machine with `key` would be taken for addresses of another machine.
using Judge = std::function<bool(const std::vector<std::u16string>& notes, int key)>;

/// ロード's rule on the machine that wrote the backup, with psw.ini gone or in place.
Judge rule(bool dataFileInPlace)
{
    return [dataFileInPlace](const std::vector<std::u16string>& notes, int key) {
        const auto rows = backupRows(notes, key);
        return backup::foreignMailKey(rows, dataFileInPlace ? rows : std::vector<store::PswRecord>(), key)
            .has_value();
    };
}

/// The address grammar alone: exactly one key reads every note as an address (never `key` itself: a
/// note holds no "@").
bool grammarAlone(const std::vector<std::u16string>& notes, int key)
{
    std::vector<std::u16string> stored;
    for (const auto& note : notes)
        stored.push_back(cipher::encode(cipher::codeTableFor(key), note));
    int fitting = 0;
    for (int other = 0; other < cipher::kAlphabetSize; ++other) {
        const auto table = cipher::codeTableFor(other);
        fitting += std::ranges::all_of(
            stored, [&](const std::u16string& s) { return backup::isMailAddress(cipher::decode(table, s)); });
    }
    return fitting == 1;
}

/// `count` different random notes.
std::function<std::vector<std::u16string>()> differentNotes(std::size_t count, std::u16string_view characters,
                                                            std::size_t shortest, std::size_t longest)
{
    return [=] {
        std::vector<std::u16string> notes;
        while (notes.size() < count) {
            auto note = randomText(characters, shortest, longest);
            if (std::ranges::find(notes, note) == notes.end())
                notes.push_back(std::move(note));
        }
        return notes;
    };
}

/// A note and a second one made from it, one character changed or added at the end ("taro.yamada",
/// "taro.yamada2").
std::function<std::vector<std::u16string>()> relatedNotes(std::u16string_view characters,
                                                          std::size_t shortest, std::size_t longest)
{
    return [=] {
        for (;;) {
            const auto note = randomText(characters, shortest, longest);
            auto other = note;
            const auto c = characters[below(characters.size())];
            if (below(2) == 0)
                other += c;
            else
                other[below(other.size())] = c;
            if (other != note)
                return std::vector<std::u16string>{note, other};
        }
    };
}

Tally notes(const char* what, int samples, const std::function<std::vector<std::u16string>()>& make,
            const Judge& judge)
{
    Tally t{what};
    for (; t.samples < samples; ++t.samples)
        t.hits += judge(make(), static_cast<int>(below(81)));
    return t;
}

/// Backups of addresses moved to a machine with another key: every re-key to any key but the
/// backup's is wrong, every load as-is a miss. `distinct` different addresses (`rare` of them with an
/// ending outside the common ones), each in `rowsEach` rows, and `blanks` rows without one.
Tally moves(const char* what, int samples, std::size_t distinct, std::size_t rare, std::size_t rowsEach,
            std::size_t blanks)
{
    Tally t{what};
    for (int i = 0; i < samples; ++i) {
        std::vector<std::u16string> addresses;
        while (addresses.size() < distinct) {
            auto address = randomAddress(addresses.size() >= rare);
            if (std::ranges::find(addresses, address) == addresses.end())
                addresses.push_back(std::move(address));
        }
        std::vector<std::u16string> mails;
        for (const auto& a : addresses)
            mails.insert(mails.end(), rowsEach, a);
        mails.insert(mails.end(), blanks, u" ");
        const int from = i % 81;
        const int to = (from + 1 + static_cast<int>(below(80))) % 81;
        const auto key = backup::foreignMailKey(backupRows(mails, from), {}, to);
        ++t.samples;
        if (key == from)
            ++t.hits;
        else if (key) {
            std::fprintf(stderr, "wrong key %d for a backup of key %d\n", *key, from);
            std::exit(1);
        }
    }
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 20000;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("Notes that one other key alone reads as addresses (the grammar alone, for comparison):\n");
    print(notes("one note, a-z, 3-12", n, differentNotes(1, kLower, 3, 12), grammarAlone));
    print(notes("one note, letters, digits, . _ -, 3-16", n, differentNotes(1, kNoteCharacters, 3, 16),
                grammarAlone));
    print(notes("two related notes, letters, digits, . _ -, 3-16", n, relatedNotes(kNoteCharacters, 3, 16),
                grammarAlone));

    std::printf("Re-keyed by ロード on the machine that wrote the backup, psw.ini gone (every one wrong):\n");
    const auto gone = rule(false);
    print(notes("one note, a-z, 3-12", n, differentNotes(1, kLower, 3, 12), gone));
    print(notes("two different notes, a-z, 3-12", 5 * n, differentNotes(2, kLower, 3, 12), gone));
    print(
        notes("one note, letters, digits, . _ -, 3-16", n, differentNotes(1, kNoteCharacters, 3, 16), gone));
    print(notes("two different notes, letters, digits, . _ -, 3-16", 5 * n,
                differentNotes(2, kNoteCharacters, 3, 16), gone));
    print(notes("two related notes, a-z, 3-12", 5 * n, relatedNotes(kLower, 3, 12), gone));
    print(notes("two related notes, letters, digits, . _ -, 3-16", 5 * n,
                relatedNotes(kNoteCharacters, 3, 16), gone));
    print(notes("two related notes, any character but @, 3-16", 5 * n, relatedNotes(kAllButAt, 3, 16), gone));
    std::printf("The same over the psw.ini the backup was made of:\n");
    print(notes("two different notes, any character but @, 3-16", n, differentNotes(2, kAllButAt, 3, 16),
                rule(true)));

    std::printf("Re-keyed to the right key after a move (the rest load as they are):\n");
    print(moves("one address", n, 1, 0, 1, 0));
    print(moves("one address in five rows, two rows blank", n, 1, 0, 5, 2));
    print(moves("two different addresses", n, 2, 0, 1, 0));
    print(moves("two different addresses, each in three rows, one blank", n, 2, 0, 3, 1));
    print(moves("two different addresses, one with a rare ending", n, 2, 1, 1, 0));
    print(moves("three different addresses, one with a rare ending", n, 3, 1, 1, 0));
    print(moves("five different addresses", n, 5, 0, 1, 0));
    return 0;
}
