// The stored form of a text over a code table, without a window.
#include "rules/cipher/StoredForm.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

TEST(StoredFormTest, EncodesFromTheLastCharacterAndDecodesBack)
{
    // Key 0: the character at position k has code number k.
    cipher::CodeTable table;
    for (int k = 1; k <= cipher::kAlphabetSize; ++k)
        table[k] = std::u16string(cipher::CodeList[static_cast<std::size_t>(k - 1)]);
    const std::u16string a = table[1], b = table[2], at = table[cipher::kAlphabetSize];
    struct Case {
        std::u16string plain;
        std::u16string stored;
        std::u16string decoded; ///< what the stored form reads back as
    } cases[] = {
        {u"", u"", u""},
        {u"ab@", at + b + a, u"ab@"},
        // A character without a code repeats the code before it, and none at the start.
        {u"a\u3042b", b + b + a, u"abb"},
        {u"ab\u3042", b + a, u"ab"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& c = cases[i];
        EXPECT_EQ(cipher::encode(table, c.plain), c.stored);
        EXPECT_EQ(cipher::decode(table, c.stored), c.decoded);
        // One or two letters before the groups are lost.
        EXPECT_EQ(cipher::decode(table, u"qq" + c.stored), c.decoded);
    }
}

} // namespace
} // namespace orvanta::test
