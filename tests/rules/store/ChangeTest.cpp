// The rule of a change to the rows, without a window: rows in, rows or the refusal out; and which row
// an item of the ID list names.
#include "rules/store/Change.h"

#include "support/Rows.h"

#include <gtest/gtest.h>
#include <optional>
#include <span>
#include <tuple>

namespace orvanta::test {
namespace {

using Rows = std::vector<PlainRow>;

/// A file of `entries` + 1 rows: the destination M with its entries m1, m2, ...
Rows destinationM(int entries)
{
    const auto text = [](int n) {
        const auto d = std::to_string(n);
        return std::u16string(d.begin(), d.end());
    };
    Rows rows{header(u"M", text(entries))};
    for (int i = 1; i <= entries; ++i)
        rows.push_back(entry(u"M", u"m" + text(i), u"pw"));
    return rows;
}

const Rows rows{header(u"A", u"2"), entry(u"A", u"x", u"pw"), header(u"B", u"1"), entry(u"B", u"y", u"pw"),
                entry(u"A", u"z", u"pw")};

struct Case {
    const char* name;
    store::Change change;
    Rows after;                   ///< when the change goes through
    std::u16string refusal{};     ///< else
    const Rows* before = nullptr; ///< rows other than `rows`
};

void expectChanges(std::span<const Case> cases)
{
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

TEST(ChangeTest, GivesTheRowsToWriteOrTheRefusal)
{
    // A rename onto B, which has an x as well.
    const Rows both{header(u"A", u"1"), entry(u"A", u"x", u"pw"), header(u"B", u"2"),
                    entry(u"B", u"x", u"pw"), entry(u"B", u"y", u"pw")};
    const Case cases[] = {
        {"RegisterUnderANewDestination",
         store::Register{u"C", u"w", u"pw", u""},
         {rows[0], rows[1], rows[2], rows[3], rows[4], header(u"C", u"1"), entry(u"C", u"w", u"pw")}},
        {"RegisterCountsInTheHeader",
         store::Register{u"B", u"w", u"pw", u""},
         {rows[0], rows[1], header(u"B", u"2"), rows[3], rows[4], entry(u"B", u"w", u"pw")}},
        {"UpdateInPlace",
         store::Update{{u"A", u"x"}, u"A", u"x2", u"new", u""},
         {rows[0], entry(u"A", u"x2", u"new"), rows[2], rows[3], rows[4]}},
        {"RenameMovesTheWholeDestination",
         store::Update{{u"A", u"x"}, u"D", u"x", u"pw", u""},
         {header(u"D", u"2"), entry(u"D", u"x", u"pw"), rows[2], rows[3], entry(u"D", u"z", u"pw")}},
        {"RenameOntoAnotherMerges",
         store::Update{{u"B", u"y"}, u"A", u"y", u"pw", u""},
         {header(u"A", u"3"), rows[1], entry(u"A", u"y", u"pw"), rows[4]}},
        {"DeleteCountsDown", store::Delete{{u"A", u"z"}}, {header(u"A", u"1"), rows[1], rows[2], rows[3]}},
        {"DeleteTheLastEntryTakesTheHeader", store::Delete{{u"B", u"y"}}, {rows[0], rows[1], rows[4]}},
        {"UpdateOfAnEntryThatHasGone",
         store::Update{{u"A", u"q"}, u"A", u"q", u"pw", u""},
         {},
         u"更新中止：Aの q がありません。"},
        {"UpdateThatLeavesAPairTwice",
         store::Update{{u"A", u"x"}, u"A", u"z", u"pw", u""},
         {},
         u"中止しました：登録先「A」のID「z」が２つになります。"},
        // The rename carries z along to D, where x has just become z.
        {"RenameThatCarriesAlongTheNewId",
         store::Update{{u"A", u"x"}, u"D", u"z", u"pw", u""},
         {},
         u"中止しました：登録先「D」のID「z」が２つになります。"},
        {"RenameOntoADestinationWithTheSameId",
         store::Update{{u"B", u"y"}, u"A", u"y", u"pw", u""},
         {},
         u"中止しました：登録先「A」のID「x」が２つになります。",
         &both},
    };
    expectChanges(cases);
}

TEST(ChangeTest, TellsRowsOfOneIdApartAndKeepsTheRowLimit)
{
    // An old backup or a file edited by hand can hold y twice under A: each item of the list is its row.
    const Rows twice{header(u"A", u"3"), entry(u"A", u"y", u"ab1"), entry(u"A", u"x", u"pw"),
                     entry(u"A", u"y", u"cd2")};
    const store::EntryChoice first{u"A", u"y", 0, 2}, second{u"A", u"y", 1, 2};
    // 98 rows take one row more, not two; 99 take none.
    const Rows rows98 = destinationM(97), rows99 = destinationM(98);
    Rows filled = rows98;
    filled[0] = header(u"M", u"98");
    filled.push_back(entry(u"M", u"new", u"pw"));
    const std::u16string full = u"登録件数が上限の 99 行に達しているため、登録できません。";
    const Case cases[] = {
        {"UpdateTheFirstOfTwo",
         store::Update{first, u"A", u"y", u"new", u""},
         {twice[0], entry(u"A", u"y", u"new"), twice[2], twice[3]},
         {},
         &twice},
        {"UpdateTheSecondOfTwo",
         store::Update{second, u"A", u"y", u"new", u""},
         {twice[0], twice[1], twice[2], entry(u"A", u"y", u"new")},
         {},
         &twice},
        {"DeleteTheSecondOfTwo", store::Delete{second}, {header(u"A", u"2"), twice[1], twice[2]}, {}, &twice},
        // The list showed y once, before another program wrote it a second time: no row is taken for it.
        {"DeleteOfARowTheListShowedOnce",
         store::Delete{{u"A", u"y"}},
         {},
         u"削除中止：Aの y の行が変わりました。",
         &twice},
        {"RegisterTheNinetyNinthRow", store::Register{u"M", u"new", u"pw", u""}, filled, {}, &rows98},
        {"RegisterANewDestinationIntoNinetyEightRows",
         store::Register{u"N", u"n", u"pw", u""},
         {},
         full,
         &rows98},
        {"RegisterIntoNinetyNineRows", store::Register{u"M", u"new", u"pw", u""}, {}, full, &rows99},
    };
    expectChanges(cases);
}

// The ID list was filled from A's rows with y twice; psw.ini may have changed since. An item names its
// own row only when nothing can have moved it.
TEST(ChangeTest, TellsTheRowOfAListedItemOnlyWithoutDoubt)
{
    const Rows file{header(u"A", u"3"), entry(u"A", u"y", u"pwAAA1"), entry(u"A", u"y", u"pwAAA2"),
                    entry(u"A", u"x", u"pw")};
    const store::EntryChoice firstY{u"A", u"y", 0, 2}, secondY{u"A", u"y", 1, 2}, x{u"A", u"x", 0, 1};
    const std::tuple<const char*, Rows, store::EntryChoice, std::optional<std::size_t>> cases[] = {
        {"Unchanged", file, secondY, 2},
        {"OtherRowsAdded",
         {header(u"B", u"1"), entry(u"B", u"y", u"b"), file[0], file[1], file[2], file[3]},
         secondY,
         4},
        {"AnIdThatStandsOnceGotANewPasswordAndMoved",
         {file[0], entry(u"A", u"x", u"new"), file[1], file[2]},
         x,
         1},
        {"AThirdRowOfTheIdAdded", {file[0], file[1], file[2], file[3], file[1]}, secondY, std::nullopt},
        {"ARowOfTheIdRemoved", {file[0], file[1], file[3]}, firstY, std::nullopt},
        {"RowsOfTheIdSwapped", {file[0], file[2], file[1], file[3]}, firstY, std::nullopt},
        {"ARowOfTheIdGotANewPassword",
         {file[0], file[1], entry(u"A", u"y", u"new"), file[3]},
         firstY,
         std::nullopt},
        {"AnIdThatStoodOnceNowStandsTwice", {file[0], file[1], file[2], file[3], file[3]}, x, std::nullopt},
        {"TheDestinationRenamed", {header(u"C", u"1"), entry(u"C", u"x", u"pw")}, x, std::nullopt},
        {"AFileThatNoLongerReads", {}, x, std::nullopt},
    };
    const Rows listed(file.begin() + 1, file.end());
    for (const auto& [name, now, chosen, row] : cases)
        EXPECT_EQ(store::listedRow(listed, now, chosen), row) << name;
}

} // namespace
} // namespace orvanta::test
