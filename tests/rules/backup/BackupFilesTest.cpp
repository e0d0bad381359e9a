// The plain functions under バックアップ and ロード, without a window.
#include "rules/backup/BackupFiles.h"

#include "rules/cipher/StoredForm.h"
#include "support/SystemCodePage.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

TEST(BackupFilesTest, TheListIsNamedForTheTimeWithEveryPartButTheYearInTwoDigits)
{
    const struct {
        host::LocalTime time;
        std::u16string name;
    } cases[] = {
        {{2026, 2, 3, 9, 5, 7}, u"20260203090507_psw.csv"},
        {{2026, 12, 31, 23, 59, 59}, u"20261231235959_psw.csv"},
        {{987, 1, 1, 0, 0, 0}, u"09870101000000_psw.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backup::listName(c.time), c.name);
}

// The new psw.ini, or the refusal that leaves it as it is.
TEST(BackupFilesTest, ALoadIsRefusedOrGivesTheStoredRows)
{
    const SystemCodePage codePage;
    const auto stored = cipher::encode(cipher::codeTableFor(7), u"pw");
    const std::string pw(stored.begin(), stored.end());
    const struct {
        std::string backup;
        bool dataFileMayHoldRows;
        std::variant<std::string, std::u16string> result;
    } cases[] = {
        {"\"Mail\",\"taro\",\"pw\",\" \",\"m\"\r\n", true,
         "\"Mail\",\"taro\",\"" + pw + "\",\" \",\"m\"\r\n"},
        {"", false, ""},
        {"", true, u"ロード中止：psw.bkp に登録が１件もありません。"},
        {"\"Mail\",\"taro\",\"p w\",\" \",\"\"\r\n", false,
         u"ロード中止：Mailの taro のパスワードに空白があります。"},
        {"\"Mail\",\"taro\",\"p\x82\xa0\",\" \",\"\"\r\n", false,
         u"ロード中止：Mailの taro のパスワードに「あ」があります。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.backup);
        using Result = std::variant<std::string, std::u16string>;
        const auto restored = backup::restoredDataFile(c.backup, 7, codePage, c.dataFileMayHoldRows, {});
        const auto* file = std::get_if<backup::RestoredDataFile>(&restored);
        EXPECT_EQ(file ? Result(file->bytes) : Result(std::get<std::u16string>(restored)), c.result);
    }
}

} // namespace
} // namespace orvanta::test
