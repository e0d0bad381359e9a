// The one row reader and the one row writer of the data file and the backup.
#include "rules/store/RowFormat.h"

#include "support/SystemCodePage.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

using store::PswRecord;
using store::RowFileProblem;

class RowFormatTest : public ::testing::Test {
protected:
    std::string sjis(std::u16string_view text)
    {
        auto bytes = codePage.encode(text);
        return std::get<std::string>(bytes);
    }

    SystemCodePage codePage;
};

TEST_F(RowFormatTest, ReadsQuotedRowsInFileOrder)
{
    const auto read = store::readRows(sjis(u"\"hyoujimark\",\"ヤフー, メール\",\" \",\"1\",\" \"\r\n"
                                           u"\"ヤフー, メール\",\"taro\",\"abcdef\",\" \",\"\"\r\n"),
                                      codePage);
    ASSERT_FALSE(read.problem);
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0], (PswRecord{u"hyoujimark", u"ヤフー, メール", u" ", u"1", u" "}));
    EXPECT_EQ(read.rows[1], (PswRecord{u"ヤフー, メール", u"taro", u"abcdef", u" ", u""}));
    EXPECT_TRUE(read.rows[0].isHeader());
    EXPECT_FALSE(read.rows[1].isHeader());
}

TEST_F(RowFormatTest, ToleratesLineFeedsBlankLinesAndUnquotedFields)
{
    const auto read =
        store::readRows("\"a\",\"b\",\"c\",\"d\",\"e\"\n\r\n  a , b,c,d ,e\r\n\r\n\r\n", codePage);
    ASSERT_FALSE(read.problem);
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[1], (PswRecord{u"a", u"b", u"c", u"d", u"e"}));
}

struct BadFile {
    const char* what;
    std::string bytes;
    RowFileProblem::Kind kind;
    int line;
    std::size_t rowsKept;
};

class BadFiles : public RowFormatTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFiles, AreReportedWithTheRowsThatDidRead)
{
    const auto& c = GetParam();
    const auto read = store::readRows(c.bytes, codePage);
    ASSERT_TRUE(read.problem) << c.what;
    EXPECT_EQ(read.problem->kind, c.kind) << c.what;
    EXPECT_EQ(read.problem->line, c.line) << c.what;
    EXPECT_EQ(read.rows.size(), c.rowsKept) << c.what;
}

const std::string kGood = "\"a\",\"b\",\"c\",\"d\",\"e\"\r\n";

std::string rows(int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += kGood;
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadFiles,
    ::testing::Values(
        BadFile{"four fields", kGood + "\"a\",\"b\",\"c\",\"d\"\r\n", RowFileProblem::Kind::Malformed, 2, 1},
        BadFile{"six fields", "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"\r\n" + kGood,
                RowFileProblem::Kind::Malformed, 1, 1},
        BadFile{"truncated mid-row", kGood + "\"a\",\"b\",\"c", RowFileProblem::Kind::Malformed, 2, 1},
        BadFile{"a stray quote", "\"a\"x\",\"b\",\"c\",\"d\",\"e\"\r\n", RowFileProblem::Kind::Malformed, 1,
                0},
        BadFile{"a quote in an unquoted field", "a\"b,b,c,d,e\r\n", RowFileProblem::Kind::Malformed, 1, 0},
        BadFile{"a lone lead byte", kGood + "\"\x82\",\"b\",\"c\",\"d\",\"e\"\r\n" + kGood,
                RowFileProblem::Kind::NotCodePage, 2, 2},
        // UTF-8 without a byte-order mark is read as the Shift_JIS it is taken for: here "ヤフ" ends in a
        // lead byte before the closing quote.
        BadFile{"UTF-8 text without a mark", "\"\xE3\x83\xA4\xE3\x83\x95\",\"b\",\"c\",\"d\",\"e\"\r\n",
                RowFileProblem::Kind::NotCodePage, 1, 0},
        // A file with a UTF-8 byte-order mark is reported, and its rows still show: "ヤフー" and "taro".
        BadFile{"a UTF-8 byte-order mark",
                "\xEF\xBB\xBF" + kGood +
                    "\"\xE3\x83\xA4\xE3\x83\x95\xE3\x83\xBC\",\"taro\",\"c\",\" \",\"\"\r\n",
                RowFileProblem::Kind::Utf8, 1, 2},
        BadFile{"a hundred rows", rows(100), RowFileProblem::Kind::TooManyRows, 100, 99}),
    [](const auto& param) { return testName(param.param.what); });

TEST_F(RowFormatTest, NinetyNineRowsReadCompletely)
{
    const auto read = store::readRows(rows(99) + "\r\n", codePage);
    EXPECT_FALSE(read.problem);
    EXPECT_EQ(read.rows.size(), 99u);
}

TEST_F(RowFormatTest, WritesEveryFieldQuotedWithCrLfInShiftJis)
{
    const std::vector<PswRecord> rows{{u"hyoujimark", u"ｶﾅ～①", u" ", u"10", u" "},
                                      {u"ｶﾅ～①", u"a,b", u"xyz", u" ", u""}};
    const auto written = store::writeRows(rows, codePage);
    ASSERT_TRUE(std::holds_alternative<std::string>(written));
    EXPECT_EQ(std::get<std::string>(written),
              "\"hyoujimark\",\"\xB6\xC5\x81\x60\x87\x40\",\" \",\"10\",\" \"\r\n"
              "\"\xB6\xC5\x81\x60\x87\x40\",\"a,b\",\"xyz\",\" \",\"\"\r\n");
    const auto back = store::readRows(std::get<std::string>(written), codePage);
    EXPECT_EQ(back.rows, rows);
}

TEST_F(RowFormatTest, RefusesFieldsThatWouldNotReadBack)
{
    struct Case {
        std::u16string name;
        store::RowWriteProblem::Kind kind;
    };
    for (const auto& c : {Case{u"say \"hi\"", store::RowWriteProblem::Kind::DoubleQuote},
                          Case{u"two\r\nlines", store::RowWriteProblem::Kind::LineBreak},
                          Case{u"smile 😀", store::RowWriteProblem::Kind::NotCodePage},
                          Case{u"zero\u200Bwidth", store::RowWriteProblem::Kind::NotCodePage}}) {
        const std::vector<PswRecord> rows{{u"a", u"b", u"c", u"d", u"e"}, {u"a", c.name, u"c", u" ", u""}};
        const auto written = store::writeRows(rows, codePage);
        ASSERT_TRUE(std::holds_alternative<store::RowWriteProblem>(written));
        EXPECT_EQ(std::get<store::RowWriteProblem>(written).kind, c.kind);
        EXPECT_EQ(std::get<store::RowWriteProblem>(written).row, 1u);
        EXPECT_EQ(store::fieldProblem(c.name, codePage), c.kind);
    }
    EXPECT_EQ(store::fieldProblem(u"ヤフー, メール", codePage), std::nullopt);
}

} // namespace
} // namespace orvanta::test
