// Every rewrite keeps the rules of psw.ini (each destination and ID once, header counts right, no
// header without entries, no entry without its header), and a file that already breaks one can still
// be worked with and put right.
#include "rules/store/RowChecks.h"

#include "support/WindowDriver.h"

#include <functional>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

// The rule itself is held in tests/store/ChangeTest.cpp; here, that the window refuses such an update
// in edit mode and writes nothing.
TEST(RowChecksTest, AChangeThatWouldBreakARuleIsRefusedAndNothingIsWritten)
{
    WindowDriver d;
    d.start({header(u"A", u"2"), entry(u"A", u"x", u"px"), entry(u"A", u"y", u"py")});
    const std::string before = d.file();
    // The rename carries y along to B, where x has just become y.
    d.openEntry(u"A", u"x");
    d.window.Txtnamae.setText(u"B");
    d.window.Txtidbox.setText(u"y");
    d.window.btnkousin_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), u"中止しました：登録先「B」のID「y」が２つになります。");
    EXPECT_EQ(d.file(), before);
    EXPECT_TRUE(d.inEditMode());
}

struct Repair {
    const char* name;
    std::initializer_list<PlainRow> rows;
    std::function<void(WindowDriver&)> action;
    std::u16string message;
    std::initializer_list<PlainRow> after;
};

void deleteEntry(WindowDriver& d, std::u16string_view destination, std::u16string_view id)
{
    d.openEntry(destination, id);
    d.window.btndelete_Click();
}

void renameEntry(WindowDriver& d, std::u16string_view destination, std::u16string_view id,
                 std::u16string_view to)
{
    d.openEntry(destination, id);
    d.window.Txtnamae.setText(std::u16string(to));
    d.window.btnkousin_Click();
}

TEST(RowChecksTest, AFileThatAlreadyBreaksARuleCanStillBeChangedAndPutRight)
{
    const std::u16string twentyDigits = u"12345678901234567890";
    const Repair repairs[] = {
        // A pair that stands twice is listed twice; the second item shows, and deletes, its own row only.
        {"DeleteOneRowOfADuplicatedPair",
         {header(u"A", u"3"), entry(u"A", u"y", u"p1"), entry(u"A", u"x", u"px"), entry(u"A", u"y", u"p2")},
         [](WindowDriver& d) {
             d.chooseDestination(u"A");
             form::chooseId(d.window, 2); // the list holds y, x, y
             d.window.Lstidbox_DblClick();
             d.window.btndelete_Click();
         },
         u"削除完了Aの y:p2",
         {header(u"A", u"2"), entry(u"A", u"y", u"p1"), entry(u"A", u"x", u"px")}},
        {"RegistrationUnderACountThatIsOffByOne",
         {header(u"A", u"2"), entry(u"A", u"x", u"px")},
         [](WindowDriver& d) { d.registerEntry(u"A", u"y", u"py"); },
         u"登録完了Aの y:py",
         {header(u"A", u"2"), entry(u"A", u"x", u"px"), entry(u"A", u"y", u"py")}},
        {"RegistrationUnderATwentyDigitCount",
         {header(u"A", twentyDigits), entry(u"A", u"x", u"px")},
         [](WindowDriver& d) { d.registerEntry(u"A", u"y", u"py"); },
         u"登録完了Aの y:py",
         {header(u"A", u"2"), entry(u"A", u"x", u"px"), entry(u"A", u"y", u"py")}},
        // A count of "1" over two entries: the header stays while an entry is left.
        {"DeleteUnderACountTooLow",
         {header(u"A", u"1"), entry(u"A", u"x", u"px"), entry(u"A", u"y", u"py")},
         [](WindowDriver& d) { deleteEntry(d, u"A", u"x"); },
         u"削除完了Aの x:px",
         {header(u"A", u"1"), entry(u"A", u"y", u"py")}},
        {"RenameOfADestinationWhoseCountIsOff",
         {header(u"A", u"5"), entry(u"A", u"x", u"px"), header(u"C", u"9"), entry(u"C", u"z", u"pz")},
         [](WindowDriver& d) { renameEntry(d, u"A", u"x", u"B"); },
         u"更新完了Bの x:px",
         {header(u"B", u"1"), entry(u"B", u"x", u"px"), header(u"C", u"9"), entry(u"C", u"z", u"pz")}},
        // A rename onto an existing destination merges the two under its header row, counting them all;
        // a destination listed twice (as an older version's merge left it) is joined by a rename.
        {"RenameMergesIntoAnExistingDestination",
         {header(u"A", u"2"), entry(u"A", u"x", u"px"), entry(u"A", u"y", u"py"), header(u"B", u"1"),
          entry(u"B", u"z", u"pz")},
         [](WindowDriver& d) { renameEntry(d, u"A", u"x", u"B"); },
         u"更新完了Bの x:px",
         {entry(u"B", u"x", u"px"), entry(u"B", u"y", u"py"), header(u"B", u"3"), entry(u"B", u"z", u"pz")}},
        {"RenameJoinsTwoHeaderRowsOfOneName",
         {header(u"A", u"1"), entry(u"A", u"x", u"px"), header(u"A", u"1"), entry(u"A", u"y", u"py")},
         [](WindowDriver& d) { renameEntry(d, u"A", u"y", u"C"); },
         u"更新完了Cの y:py",
         {header(u"C", u"2"), entry(u"C", u"x", u"px"), entry(u"C", u"y", u"py")}},
        // Entries without their header row are listed again once their destination gets one.
        {"RegistrationGivesLostEntriesTheirHeader",
         {header(u"A", u"1"), entry(u"A", u"x", u"px"), entry(u"L", u"lost", u"pl")},
         [](WindowDriver& d) { d.registerEntry(u"L", u"new", u"pn"); },
         u"登録完了Lの new:pn",
         {header(u"A", u"1"), entry(u"A", u"x", u"px"), entry(u"L", u"lost", u"pl"), header(u"L", u"2"),
          entry(u"L", u"new", u"pn")}},
    };
    for (const auto& c : repairs) {
        SCOPED_TRACE(c.name);
        WindowDriver d;
        d.start(c.rows);
        c.action(d);
        EXPECT_EQ(d.window.Txtmassage.text(), c.message);
        EXPECT_EQ(d.file(), d.rowsFile(c.after));
    }
}

TEST(RowChecksTest, CountsOfAnyLengthAreReadWithoutOverflow)
{
    EXPECT_TRUE(store::countEquals(u" 02", 2));
    EXPECT_FALSE(store::countEquals(u"-2", 2));
    // 2 more than the largest 64-bit number, and a count longer than any number.
    EXPECT_FALSE(store::countEquals(u"18446744073709551618", 2));
    EXPECT_FALSE(store::countEquals(u"99999999999999999999999999999999999999", 99));
}

} // namespace
} // namespace orvanta::test
