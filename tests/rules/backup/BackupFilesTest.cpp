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
        platform::LocalTime time;
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
        {"", true,
         u"バックアップファイル A:\\psw.bkp に登録が１件もありません。ロードを中止しました（psw.ini "
         u"は元のままです）。"},
        {"\"Mail\",\"taro\",\"p w\",\" \",\"\"\r\n", false,
         u"バックアップファイル A:\\psw.bkp の 1 "
         u"件目（登録名称「Mail」、ＩＤ「taro」）のパスワードに使えない文字"
         u"（空白）があります。ロードを中止しました（psw.ini は元のままです）。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.backup);
        using Result = std::variant<std::string, std::u16string>;
        const auto restored =
            backup::restoredDataFile(c.backup, u"A:\\psw.bkp", 7, codePage, c.dataFileMayHoldRows, {});
        const auto* file = std::get_if<backup::RestoredDataFile>(&restored);
        EXPECT_EQ(file ? Result(file->bytes) : Result(std::get<std::u16string>(restored)), c.result);
    }
}

} // namespace
} // namespace orvanta::test
