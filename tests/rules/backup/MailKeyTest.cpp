// Which key a backup's e-mail addresses were stored with, and ロード storing them with this machine's.
#include "rules/backup/MailKey.h"

#include "rules/backup/BackupFiles.h"
#include "rules/cipher/StoredForm.h"
#include "rules/store/RowFormat.h"
#include "support/SystemCodePage.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

/// Entry rows whose mail fields hold `mails` stored with `key` (" " stays as it is).
std::vector<store::PswRecord> rowsWith(std::initializer_list<std::u16string_view> mails, int key)
{
    std::vector<store::PswRecord> rows{{u"hyoujimark", u"Site", u"", u"1", u" "}};
    for (const auto mail : mails)
        rows.push_back({u"Site", u"id", u"pw", u" ",
                        mail == u" " ? u" " : cipher::encode(cipher::codeTableFor(key), mail)});
    return rows;
}

TEST(MailKeyTest, AnAddressIsWrittenAsPeopleWriteThem)
{
    const struct {
        std::u16string_view text;
        bool address;
        bool common = false; ///< ends in a common top-level domain
    } cases[] = {
        {u"alice@example.jp", true, true},
        {u"b.o-b_9+x@mail.co.jp", true, true},
        {u"A1@x-y.Example.com", true, true},
        {u"hans@example.ch", true},
        {u"alice@example.COM", true},
        {u"alice", false},
        {u"alice@", false},
        {u"@example.jp", false},
        {u"a@b@c.jp", false},
        {u"alice@example", false},   // one label
        {u"alice@example.j", false}, // top level of one letter
        {u"alice@example.j2", false},
        {u"alice@.example.jp", false},
        {u"alice@example..jp", false},
        {u"alice@example.jp.", false},
        {u"alice@-example.jp", false},
        {u"alice@example-.jp", false},
        {u"alice@exa_mple.jp", false},
        {u".alice@example.jp", false},
        {u"alice.@example.jp", false},
        {u"al..ice@example.jp", false},
        {u"_alice@example.jp", false},
        {u"al!ce@example.jp", false},
        {u"]5>:R@5.585", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(backup::isMailAddress(c.text), c.address) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(c.address && backup::hasCommonTopLevelDomain(c.text), c.common)
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(MailKeyTest, TheKeyIsToldOnlyWhenTheBackupLeavesNoDoubt)
{
    const auto several = rowsWith({u"alice@example.jp", u"b.o-b_9@mail.co.jp", u" ", u"x@y.jp"}, 7);
    const auto otherFile = rowsWith({u"carol@example.jp"}, 14);
    auto sharing = otherFile;
    sharing.push_back(several.at(2));
    const struct {
        const char* title;
        std::vector<store::PswRecord> backup;
        std::vector<store::PswRecord> dataFile;
        long long ownKey;
        std::optional<int> key;
    } cases[] = {
        {"several addresses", several, {}, 14, 7},
        {"over another psw.ini", several, otherFile, 14, 7},
        {"made here: psw.ini shares a field", several, sharing, 14, {}},
        {"one address", rowsWith({u"alice@example.jp"}, 7), {}, 14, {}},
        {"one with a common ending", rowsWith({u"alice@example.jp", u"hans@example.ch"}, 7), {}, 14, {}},
        {"two with one and one without", rowsWith({u"a@x.jp", u"b@y.com", u"hans@example.ch"}, 7), {}, 14, 7},
        {"one address in every row",
         rowsWith({u"alice@example.jp", u"alice@example.jp", u" "}, 7),
         {},
         14,
         {}},
        {"one that is no address",
         rowsWith({u"alice@example.jp", u"b@x.jp", u"memo-for-alice"}, 7),
         {},
         14,
         {}},
        {"an address with two at signs", rowsWith({u"alice@example.jp", u"a@b@c.jp"}, 7), {}, 14, {}},
        {"no addresses", rowsWith({u" ", u" "}, 7), {}, 14, {}},
        {"written with this machine's key", several, {}, 7, {}},
        {"key 81 is key 0", rowsWith({u"alice@example.jp", u"b@x.jp"}, 81), {}, 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backup::foreignMailKey(c.backup, c.dataFile, c.ownKey), c.key) << c.title;
}

TEST(MailKeyTest, ALoadStoresTheAddressesOfEveryKeyWithThisMachinesKey)
{
    const SystemCodePage codePage;
    for (int key = 0; key <= 81; ++key) {
        const int own = (key + 40) % 81;
        const auto written = std::get<std::string>(
            store::writeRows(rowsWith({u"alice@example.jp", u"bob@b.jp"}, key), codePage));
        const auto restored =
            std::get<backup::RestoredDataFile>(backup::restoredDataFile(written, own, codePage, true, {}));
        EXPECT_EQ(restored.mailKey, key % 81);
        const auto rows = store::readRows(restored.bytes, codePage).rows;
        const auto table = cipher::codeTableFor(own);
        EXPECT_EQ(cipher::decode(table, rows.at(1).mail), u"alice@example.jp") << key;
        EXPECT_EQ(cipher::decode(table, rows.at(2).mail), u"bob@b.jp") << key;
    }
    EXPECT_EQ(backup::rekeyedMailNote(7), u"　メールアドレスを暗号化キー 07 から引き継ぎました。");
}

} // namespace
} // namespace orvanta::test
