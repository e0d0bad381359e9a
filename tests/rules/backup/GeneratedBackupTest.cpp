// What users rely on for every psw.ini, not just the examples: バックアップ then ロード on the same
// key gives the file back, and a move to another key never alters a mail field that was no address.
// Many random files, seeded, through the functions the two handlers call.
#include "rules/backup/BackupFiles.h"
#include "rules/cipher/StoredForm.h"
#include "rules/store/RowFormat.h"
#include "support/SystemCodePage.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

namespace orvanta::test {
namespace {

bool blank(std::u16string_view mail)
{
    return mail.find_first_not_of(u' ') == std::u16string_view::npos;
}

struct File {
    int key = 0;
    std::vector<store::PswRecord> plain;  ///< passwords and mail fields as typed
    std::vector<store::PswRecord> stored; ///< as psw.ini holds them under `key`
};

/// Random psw.ini files: up to four destinations of one to six entries, passwords of any characters
/// with a code, mail fields blank, notes (which never hold "@") or addresses, random keys.
class RandomFiles {
public:
    File next()
    {
        File f;
        f.key = below(82);
        const int kinds = 2 + below(2); // half the files hold no notes
        for (int d = below(5); d > 0; --d) {
            const int entries = 1 + below(6);
            const auto name = text(kLetters, 1, 6) + pick({u"", u"銀行"});
            f.plain.push_back({u"hyoujimark", name, u" ", std::u16string(1, u'0' + entries), u" "});
            for (int e = 0; e < entries; ++e)
                f.plain.push_back({name, text(kLetters, 1, 8), text(kAlphabet, 0, 16), u" ", mail(kinds)});
        }
        const auto table = cipher::codeTableFor(f.key);
        for (auto row : f.plain) {
            if (!row.isHeader()) {
                row.password = cipher::encode(table, row.password);
                if (!blank(row.mail))
                    row.mail = cipher::encode(table, row.mail);
            }
            f.stored.push_back(std::move(row));
        }
        return f;
    }

private:
    static constexpr std::u16string_view kLetters = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static constexpr std::u16string_view kAlphabet{cipher::UsableAlphabet.data(),
                                                   cipher::UsableAlphabet.size()};

    std::u16string mail(int kinds)
    {
        switch (below(kinds)) {
        case 0:
            return pick({u" ", u""});
        case 1:
            return text(kLetters, 1, 8) + pick({u"", u".", u"_", u"+", u"-"}) + text(u"abc123", 1, 3) + u"@" +
                   pick({u"example.com", u"mail.co.jp", u"x.jp", text(kLetters, 1, 6) + u".net"});
        default:
            return text(below(2) ? u"abcdefghijklmnopqrstuvwxyz0123456789._-" : kAlphabet.substr(0, 80), 1,
                        16);
        }
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    std::u16string pick(std::initializer_list<std::u16string> texts)
    {
        return texts.begin()[below(texts.size())];
    }
    std::u16string text(std::u16string_view characters, int shortest, int longest)
    {
        std::u16string t(shortest + below(longest - shortest + 1), u' ');
        for (auto& c : t)
            c = characters[below(characters.size())];
        return t;
    }

    std::mt19937 m_random{20260203};
};

std::string backupOf(const std::vector<store::PswRecord>& stored, int key, const host::CodePage& codePage)
{
    const auto table = cipher::codeTableFor(key);
    return std::get<backup::BackupFiles>(
               backup::backupFiles(
                   stored, [&](std::u16string_view text) { return cipher::decode(table, text); },
                   {2026, 2, 3, 9, 5, 7}, codePage,
                   [](std::u16string_view name) { return std::u16string(name); }))
        .backupBytes;
}

backup::RestoredDataFile loaded(const std::string& backupBytes, int key, const host::CodePage& codePage,
                                const std::vector<store::PswRecord>& dataFile)
{
    return std::get<backup::RestoredDataFile>(
        backup::restoredDataFile(backupBytes, key, codePage, !dataFile.empty(), dataFile));
}

TEST(GeneratedBackupTest, ALoadOnTheSameKeyGivesBackTheDataFile)
{
    const SystemCodePage codePage;
    const auto roundTrip = [&](const std::vector<store::PswRecord>& stored, int key) {
        auto expected = stored;
        for (auto& row : expected)
            if (row.isHeader())
                row.password.clear(); // a header row's " " comes back empty
        const auto backupBytes = backupOf(stored, key, codePage);
        // Over the psw.ini it was made of, and with psw.ini gone.
        for (const auto& dataFile : {stored, std::vector<store::PswRecord>()}) {
            const auto file = loaded(backupBytes, key, codePage, dataFile);
            EXPECT_EQ(file.mailKey, std::nullopt);
            EXPECT_EQ(file.bytes, std::get<std::string>(store::writeRows(expected, codePage)));
        }
    };
    RandomFiles files;
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        const auto f = files.next();
        roundTrip(f.stored, f.key);
        // Each entry alone as well: one mail field is what a weak rule most easily takes for an address.
        for (const auto& row : f.stored)
            if (!row.isHeader())
                roundTrip({row}, f.key);
    }
}

TEST(GeneratedBackupTest, AMoveChangesOnlyAddressesAndCarriesThemOverWhenTheyTellTheKey)
{
    const SystemCodePage codePage;
    RandomFiles files;
    int rekeyed = 0;
    for (int i = 0; i < 300; ++i) {
        const auto f = files.next();
        const auto there = files.next(); // the other machine and its psw.ini
        if (there.key % 81 == f.key % 81 || f.plain.empty())
            continue;
        const auto file = loaded(backupOf(f.stored, f.key, codePage), there.key, codePage, there.stored);
        const auto rows = store::readRows(file.bytes, codePage).rows;
        ASSERT_EQ(rows.size(), f.plain.size()) << i;

        // Every address ends in a common top-level domain: two different ones and no note tell the key.
        std::set<std::u16string> addresses;
        bool notes = false;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].isHeader() || blank(f.plain[r].mail))
                continue;
            if (f.plain[r].mail.find(u'@') != std::u16string::npos)
                addresses.insert(f.stored[r].mail);
            else
                notes = true;
        }
        EXPECT_EQ(file.mailKey, !notes && addresses.size() >= 2 ? std::optional(f.key % 81) : std::nullopt)
            << i;
        rekeyed += file.mailKey.has_value();

        const auto table = cipher::codeTableFor(there.key);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].isHeader())
                continue;
            EXPECT_EQ(cipher::decode(table, rows[r].password), f.plain[r].password) << i << ' ' << r;
            if (file.mailKey && !blank(f.plain[r].mail))
                EXPECT_EQ(cipher::decode(table, rows[r].mail), f.plain[r].mail) << i << ' ' << r;
            else
                EXPECT_EQ(rows[r].mail, f.stored[r].mail) << i << ' ' << r;
        }
    }
    EXPECT_GT(rekeyed, 50); // enough of the files tell their key
}

} // namespace
} // namespace orvanta::test
