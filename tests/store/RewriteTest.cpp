// kakidashi on its own: what it refuses even when a caller did not check first, and the form in which
// it writes rows it did not change.
#include "store/Decimal.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

TEST(RewriteTest, WritesUnchangedRowsInTheProgramsOwnForm)
{
    WindowDriver d;
    // A file saved by a text editor: LF line ends, a field without quotes, a blank line.
    d.start(std::string("\"hyoujimark\",\"Mail\",\" \",1,\" \"\n\n\"Mail\",\"taro\",\"\",\" \",\"\"\n"));
    // No operation named: every row is written again as it is.
    d.window.dousafrag = u"";
    ASSERT_TRUE(d.window.kakidashi());
    EXPECT_EQ(d.file(), "\"hyoujimark\",\"Mail\",\" \",\"1\",\" \"\r\n\"Mail\",\"taro\",\"\",\" \",\"\"\r\n");
}

TEST(RewriteTest, RefusesToPassNinetyNineRowsWithoutTouchingTheRecordArray)
{
    WindowDriver d;
    std::string rows = d.rowsFile({header(u"Mail", u"98")});
    for (int i = 1; i <= 98; ++i)
        rows += d.rowsFile({entry(u"Mail", u"id" + store::decimalText(i), u"pw")});
    d.start(rows);

    // A caller that skipped the registration's own check: a new destination needs two more rows.
    d.window.Txtnamae.setText(u"New");
    d.window.Txtidbox.setText(u"id");
    d.window.Txtpassnew.setText(u"pw");
    d.window.dousafrag = u"new";
    EXPECT_FALSE(d.window.kakidashi());
    EXPECT_EQ(d.window.Txtmassage.text(), u"psw.ini が上限の 99 行を超えるため、書き換えを中止しました。");
    EXPECT_EQ(d.file(), rows);
    EXPECT_EQ(d.window.newwmfrag, 0);

    // The same under the existing destination: one row too many, and its count is not raised.
    d.window.Txtnamae.setText(u"Mail");
    EXPECT_FALSE(d.window.kakidashi());
    EXPECT_EQ(d.file(), rows);
    EXPECT_EQ(d.window.records[1].count, u"98");
}

TEST(RewriteTest, RefusesAFieldThatWouldSplitItsRow)
{
    WindowDriver d;
    d.start({header(u"Mail", u"1"), entry(u"Mail", u"taro", u"pw")});
    const std::string before = d.file();

    struct Case {
        const char* name;
        std::u16string destination;
        std::u16string message;
    } cases[] = {
        {"Quote", u"M\"ail", u"psw.ini の 1 行目に「\"」が入るため、書き換えを中止しました。"},
        {"LineBreak", u"M\r\nail", u"psw.ini の 1 行目に改行が入るため、書き換えを中止しました。"},
        {"OutsideShiftJis", u"M\U0001F600",
         u"psw.ini の 1 行目に Shift_JIS で保存できない文字が入るため、書き換えを中止しました。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Renaming the destination through a caller that skipped the entry checks.
        d.openEntry(u"Mail", u"taro");
        d.window.Txtnamae.setText(c.destination);
        d.window.dousafrag = u"koushin";
        EXPECT_FALSE(d.window.kakidashi());
        EXPECT_EQ(d.window.Txtmassage.text(), c.message);
        EXPECT_EQ(d.file(), before);
        EXPECT_EQ(d.window.records[1].name, u"Mail");
    }
}

} // namespace
} // namespace orvanta::test
