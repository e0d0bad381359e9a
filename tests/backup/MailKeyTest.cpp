// Which key a backup's e-mail addresses were stored with, and ロード storing them with this machine's.
#include "backup/MailKey.h"

#include "backup/BackupFiles.h"
#include "cipher/StoredForm.h"
#include "store/RowFormat.h"
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

TEST(MailKeyTest, TheKeyIsToldOnlyWhenExactlyOneOtherKeyGivesEveryAddress)
{
    const std::initializer_list<std::u16string_view> several{u"alice@example.jp", u"b.o-b_9@mail.co.jp", u" ",
                                                             u"x@y.z"};
    const struct {
        const char* title;
        std::vector<store::PswRecord> rows;
        long long ownKey;
        std::optional<int> key;
    } cases[] = {
        {"several addresses", rowsWith(several, 7), 14, 7},
        {"one that is no address", rowsWith({u"alice@example.jp", u"memo-for-alice"}, 7), 14, {}},
        {"an address with two at signs", rowsWith({u"alice@example.jp", u"a@b@c.jp"}, 7), 14, {}},
        {"nothing after the at sign", rowsWith({u"alice@example.jp", u"alice@"}, 7), 14, {}},
        {"no addresses", rowsWith({u" ", u" "}, 7), 14, {}},
        {"written on this machine", rowsWith(several, 14), 14, {}},
        {"key 81 is key 0", rowsWith(several, 81), 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backup::foreignMailKey(c.rows, c.ownKey), c.key) << c.title;
}

TEST(MailKeyTest, ALoadStoresTheAddressesOfEveryKeyWithThisMachinesKey)
{
    const SystemCodePage codePage;
    for (int key = 0; key <= 81; ++key) {
        const int own = (key + 40) % 81;
        const auto written = std::get<std::string>(
            store::writeRows(rowsWith({u"alice@example.jp", u"bob@b.jp"}, key), codePage));
        const auto restored = std::get<backup::RestoredDataFile>(
            backup::restoredDataFile(written, u"psw.bkp", own, codePage, true));
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
