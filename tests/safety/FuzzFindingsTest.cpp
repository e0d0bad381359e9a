// Inputs the fuzzers in fuzz/ found faults with, kept so that the faults stay fixed.
#include "host/linux/IcuCodePage.h"
#include "rules/store/RowFormat.h"

#include <gtest/gtest.h>
#include <string>
#include <variant>
#include <vector>

namespace orvanta::test {
namespace {

struct Finding {
    const char* name;
    std::string bytes;
    /// The line the reader must report as no row; 0 when the bytes must read cleanly.
    int malformedLine;
};

// A carriage return inside a line was kept in its field: the file read cleanly, and then no write
// of it could succeed, since the writer rightly refuses a line break in a field.
const std::vector<Finding> kFindings{
    {"CarriageReturnInAnUnquotedField", std::string(",,~\xEE\xCF\r\0@`\0\0\xD3,1,", 15), 1},
    {"CarriageReturnInAQuotedField", "\"a\",\"b\rc\",\"d\",\"e\",\"f\"\r\n", 1},
    {"CarriageReturnAfterTheLastField", "\"a\",\"b\",\"c\",\"d\",\"e\"\r\r\n", 1},
    {"CarriageReturnOnASecondLine", "\"a\",\"b\",\"c\",\"d\",\"e\"\r\n\"a\",\"b\",\"c\",\"d\",e\r \r\n", 2},
    {"CrLfStillEndsALine", "\"a\",\"b\",\"c\",\"d\",\"e\"\r\n\"f\",\"g\",\"h\",\"i\",\"j\"\r\n", 0},
};

TEST(FuzzFindingsTest, RowsThatReadCleanlyAreWrittenBackAsTheyWere)
{
    const host::IcuCodePage codePage;
    for (const auto& f : kFindings) {
        SCOPED_TRACE(f.name);
        const auto read = store::readRows(f.bytes, codePage);
        if (f.malformedLine != 0) {
            ASSERT_TRUE(read.problem);
            EXPECT_EQ(read.problem->kind, store::RowFileProblem::Kind::Malformed);
            EXPECT_EQ(read.problem->line, f.malformedLine);
            continue;
        }
        ASSERT_FALSE(read.problem);
        const auto written = store::writeRows(read.rows, codePage);
        ASSERT_TRUE(std::holds_alternative<std::string>(written));
        const auto again = store::readRows(std::get<std::string>(written), codePage);
        EXPECT_FALSE(again.problem);
        EXPECT_EQ(again.rows, read.rows);
    }
}

} // namespace
} // namespace orvanta::test
