// The one rewrite, through the buttons that end in it: the form in which it writes rows it did not
// change, and what it refuses without touching the file or the rows the window holds.
#include "rules/store/Decimal.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>
#include <string_view>
#include <utility>

namespace orvanta::test {
namespace {

TEST(RewriteTest, WritesUnchangedRowsInTheProgramsOwnForm)
{
    WindowDriver d;
    // A file saved by a text editor: LF line ends, fields without quotes, a blank line.
    d.start(std::string("\"hyoujimark\",\"Mail\",\" \",1,\" \"\n\n\"Mail\",\"taro\",\"\",\" \",\"\"\n"
                        "hyoujimark,Bank,\" \",1,\" \"\nBank,x,\"\",\" \",\"\"\n"));
    // Deleting the other destination's one entry writes every row left again as it is.
    d.openEntry(u"Bank", u"x");
    d.window.btndelete_Click();
    EXPECT_EQ(d.file(), "\"hyoujimark\",\"Mail\",\" \",\"1\",\" \"\r\n\"Mail\",\"taro\",\"\",\" \",\"\"\r\n");
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
        {"Quote", u"M\"ail", u"登録先に「\"」は使えません。"},
        {"LineBreak", u"M\r\nail", u"登録先に改行は使えません。"},
        {"OutsideShiftJis", u"M\U0001F600", u"登録先に Shift_JIS にない文字（\U0001F600）が含まれています。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Renaming the destination to a name that would break its row.
        d.openEntry(u"Mail", u"taro");
        d.window.Txtnamae.setText(c.destination);
        d.window.btnkousin_Click();
        EXPECT_EQ(d.window.Txtmassage.text(), c.message);
        EXPECT_EQ(d.file(), before);
        EXPECT_EQ(d.window.records[1].name, u"Mail");
    }
}

} // namespace
} // namespace orvanta::test
