// The rule of a change to the rows, without a window: rows in, rows or the refusal out.
#include "store/Change.h"

#include "store/Decimal.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

using store::PswRecord;
using Rows = std::vector<PswRecord>;

PswRecord head(std::u16string name, std::u16string count)
{
    return {u"hyoujimark", std::move(name), u" ", std::move(count), u" "};
}
PswRecord row(std::u16string owner, std::u16string name, std::u16string password = u"pw")
{
    return {std::move(owner), std::move(name), std::move(password), u" ", u""};
}

TEST(ChangeTest, GivesTheRowsToWriteOrTheRefusal)
{
    const Rows rows{head(u"A", u"2"), row(u"A", u"x"), head(u"B", u"1"), row(u"B", u"y"), row(u"A", u"z")};
    // An old backup or a file edited by hand can hold y twice under A: each item of the list is its row.
    const Rows twice{head(u"A", u"3"), row(u"A", u"y", u"ab1"), row(u"A", u"x"), row(u"A", u"y", u"cd2")};
    const store::EntryChoice first{u"A", u"y", 0, 2}, second{u"A", u"y", 1, 2};
    // 98 entries under one header: the file is one row short of its limit.
    Rows full{head(u"M", u"98")};
    for (int i = 1; i <= 98; ++i)
        full.push_back(row(u"M", u"id" + store::decimalText(i)));
    struct Case {
        const char* name;
        store::Change change;
        Rows after;                   ///< when the change goes through
        std::u16string refusal{};     ///< else
        const Rows* before = nullptr; ///< rows other than `rows`
    } cases[] = {
        {"RegisterUnderANewDestination",
         store::Register{u"C", u"w", u"pw", u""},
         {rows[0], rows[1], rows[2], rows[3], rows[4], head(u"C", u"1"), row(u"C", u"w")}},
        {"RegisterCountsInTheHeader",
         store::Register{u"B", u"w", u"pw", u""},
         {rows[0], rows[1], head(u"B", u"2"), rows[3], rows[4], row(u"B", u"w")}},
        {"UpdateInPlace",
         store::Update{{u"A", u"x"}, u"A", u"x2", u"new", u""},
         {rows[0], row(u"A", u"x2", u"new"), rows[2], rows[3], rows[4]}},
        {"RenameMovesTheWholeDestination",
         store::Update{{u"A", u"x"}, u"D", u"x", u"pw", u""},
         {head(u"D", u"2"), row(u"D", u"x"), rows[2], rows[3], row(u"D", u"z")}},
        {"RenameOntoAnotherMerges",
         store::Update{{u"B", u"y"}, u"A", u"y", u"pw", u""},
         {head(u"A", u"3"), rows[1], row(u"A", u"y"), rows[4]}},
        {"DeleteCountsDown", store::Delete{{u"A", u"z"}}, {head(u"A", u"1"), rows[1], rows[2], rows[3]}},
        {"DeleteTheLastEntryTakesTheHeader", store::Delete{{u"B", u"y"}}, {rows[0], rows[1], rows[4]}},
        {"UpdateThatLeavesAPairTwice",
         store::Update{{u"A", u"x"}, u"A", u"z", u"pw", u""},
         {},
         u"psw.ini を書き換えると、登録先「A」のID「z」が２つになります。中止しました。"},
        {"UpdateTheFirstOfTwo",
         store::Update{first, u"A", u"y", u"new", u""},
         {twice[0], row(u"A", u"y", u"new"), twice[2], twice[3]},
         {},
         &twice},
        {"UpdateTheSecondOfTwo",
         store::Update{second, u"A", u"y", u"new", u""},
         {twice[0], twice[1], twice[2], row(u"A", u"y", u"new")},
         {},
         &twice},
        {"RegisterUnderANewDestinationPastTheRowLimit",
         store::Register{u"N", u"w", u"pw", u""},
         {},
         u"psw.ini が上限の 99 行を超えるため、書き換えを中止しました。",
         &full},
        {"RegisterPastTheRowLimit",
         store::Register{u"M", u"w", u"pw", u""},
         {},
         u"psw.ini が上限の 99 行を超えるため、書き換えを中止しました。",
         &full},
        {"DeleteTheSecondOfTwo", store::Delete{second}, {head(u"A", u"2"), twice[1], twice[2]}, {}, &twice},
        // The list showed y once, before another program wrote it a second time: no row is taken for it.
        {"DeleteOfARowTheListShowedOnce",
         store::Delete{{u"A", u"y"}},
         {},
         u"登録先「A」のID「y」の行数が変わったため、削除を中止しました。選び直して下さい。",
         &twice},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto changed = store::applyChange(c.before ? *c.before : rows, c.change);
        if (c.refusal.empty()) {
            ASSERT_TRUE(changed.ok());
            EXPECT_EQ(changed.value(), c.after);
        } else {
            ASSERT_FALSE(changed.ok());
            EXPECT_EQ(changed.failure().description, c.refusal);
        }
    }
}

} // namespace
} // namespace orvanta::test
