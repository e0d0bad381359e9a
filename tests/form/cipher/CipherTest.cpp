// The key, the code table and the stored form of a text.
#include "form/MainWindow.h"
#include "rules/cipher/CodeTable.h"
#include "rules/store/Decimal.h"
#include "support/TestServices.h"

#include <gtest/gtest.h>
#include <set>

namespace orvanta::test {
namespace {

constexpr std::u16string_view kVersionKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

class CipherTest : public ::testing::Test {
protected:
    /// Starts the window on a machine whose product identifier is `productId`.
    void startWith(std::u16string_view productId)
    {
        services.registry.setText(host::HKEY_LOCAL_MACHINE, kVersionKey, u"ProductId", productId);
        window.Form_Load();
    }

    /// The code the table gives the character at this position of the alphabet.
    std::u16string codeOf(char16_t character)
    {
        return window.CodeTable[cipher::alphabetPosition(character)];
    }

    TestServices services;
    form::MainWindow window{services.services()};
};

struct KeyCase {
    std::u16string_view productId;
    std::u16string_view shown; ///< the key as the message shows it
    int rotation;              ///< the key's value from 0 to 81
};

class KeySelection : public CipherTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeySelection, ShowsTheKeyAndRotatesTheTableByIt)
{
    const auto& c = GetParam();
    startWith(c.productId);

    EXPECT_EQ(window.Txtmassage.text(),
              u"暗号化キーは、自動で " + std::u16string(c.shown) + u" を設定しました。");
    // Code number i lands in slot ((X + i - 1) mod 81) + 1.
    for (int i = 1; i <= cipher::kAlphabetSize; ++i)
        EXPECT_EQ(window.CodeTable[(c.rotation + i - 1) % cipher::kAlphabetSize + 1],
                  cipher::CodeList[static_cast<std::size_t>(i - 1)])
            << "code " << i;
}

INSTANTIATE_TEST_SUITE_P(ProductIds, KeySelection,
                         ::testing::Values(KeyCase{u"55274-640-1234567-23400", u"00", 0},
                                           KeyCase{u"55274-640-1234567-23407", u"07", 7},
                                           KeyCase{u"55274-640-1234567-23481", u"81", 0},
                                           KeyCase{u"55274-640-1234567-23482", u"1", 1},
                                           KeyCase{u"7", u"7", 7}),
                         [](const auto& param) {
                             // The key as the message shows it, in digits.
                             return "Key" + std::string(param.param.shown.begin(), param.param.shown.end());
                         });

TEST(KeyOf, ReadsOneOrTwoDigitsAndReducesAKeyOver81)
{
    using Key = cipher::Key;
    const struct {
        std::u16string_view digits;
        std::optional<Key> key;
    } cases[] = {{u"07", Key{7, u"07"}},  {u"81", Key{81, u"81"}}, {u"82", Key{1, u"1"}},
                 {u"99", Key{18, u"18"}}, {u"7", Key{7, u"7"}},    {u"", std::nullopt},
                 {u"7a", std::nullopt},   {u"123", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(cipher::keyOf(c.digits), c.key) << std::string(c.digits.begin(), c.digits.end());
}

TEST_F(CipherTest, EveryKeyGivesEachSlotOneDifferentCodeAndLeavesTheRestEmpty)
{
    for (int key = 0; key <= 99; ++key) {
        window.angoutbset(store::decimalText(100 + key).substr(1));
        std::set<std::u16string> codes;
        for (int slot = 1; slot <= cipher::kAlphabetSize; ++slot)
            codes.insert(window.CodeTable[slot]);
        EXPECT_EQ(codes.size(), 81u) << "key " << key;
        EXPECT_TRUE(window.CodeTable[0].empty());
        for (int slot = 82; slot <= 99; ++slot)
            EXPECT_TRUE(window.CodeTable[slot].empty()) << "key " << key << " slot " << slot;
    }
}

TEST_F(CipherTest, TheCodeListHasEightyOneDifferentCodesOneInCapitals)
{
    std::set<std::u16string_view> codes(cipher::CodeList.begin(), cipher::CodeList.end());
    EXPECT_EQ(codes.size(), 81u);
    int capitals = 0;
    for (auto code : cipher::CodeList) {
        ASSERT_EQ(code.size(), 3u);
        const bool upper = code[0] >= u'A' && code[0] <= u'Z';
        for (char16_t c : code)
            EXPECT_TRUE(upper ? (c >= u'A' && c <= u'Z') : (c >= u'a' && c <= u'z'));
        capitals += upper;
    }
    EXPECT_EQ(capitals, 1);
}

TEST_F(CipherTest, AnIdentifierWithoutTrailingDigitsFallsBackToTheFixedKeyAndSaysSo)
{
    // No product identifier at all: the registry default text ends in "T)".
    window.Form_Load();
    const auto fromDefault = window.Txtmassage.text();
    startWith(u"55274-640-1234567-2340A");

    EXPECT_EQ(window.Txtmassage.text(),
              u"製品IDから暗号化キーを得られないため、固定キー 00 を設定しました。");
    EXPECT_EQ(fromDefault, window.Txtmassage.text());
    EXPECT_EQ(window.CodeTable[1], cipher::CodeList[0]);
}

TEST_F(CipherTest, KeysThatDifferByEightyOneBuildTheSameTable)
{
    startWith(u"x-01");
    const auto a01 = codeOf(u'a');
    startWith(u"x-82");
    EXPECT_EQ(codeOf(u'a'), a01);
}

TEST_F(CipherTest, KeyOneMovesEveryCodeOnePositionOn)
{
    startWith(u"x-01");
    EXPECT_EQ(window.CodeTable[2], cipher::CodeList[0]);
    EXPECT_EQ(window.CodeTable[81], cipher::CodeList[79]);
    EXPECT_EQ(window.CodeTable[1], cipher::CodeList[80]);
}

TEST_F(CipherTest, EveryUsableCharacterSurvivesEncodingAndDecoding)
{
    for (auto id : {u"x-00", u"x-07", u"x-45", u"x-99"}) {
        startWith(id);
        const std::u16string all(cipher::UsableAlphabet.begin(), cipher::UsableAlphabet.end());
        const auto stored = window.encodeText(all);
        EXPECT_EQ(stored.size(), 3 * all.size());
        EXPECT_EQ(window.decodeText(stored), all);
    }
}

TEST_F(CipherTest, TheStoredFormHoldsTheCodesFromTheLastCharacterToTheFirst)
{
    startWith(u"x-07");
    EXPECT_EQ(window.encodeText(u"ab"), codeOf(u'b') + codeOf(u'a'));
    EXPECT_EQ(window.encodeText(u""), u"");
    EXPECT_EQ(window.decodeText(codeOf(u'b') + codeOf(u'a')), u"ab");
}

TEST_F(CipherTest, EncodingTellsCaseAndJFromI)
{
    startWith(u"x-07");
    std::set<std::u16string> codes;
    for (char16_t c : {u'a', u'A', u'I', u'J', u'0', u'9', u'@'})
        codes.insert(window.encodeText(std::u16string(1, c)));
    EXPECT_EQ(codes.size(), 7u);
}

TEST_F(CipherTest, ShortAndRaggedStoredTextsFollowTheGroupRule)
{
    startWith(u"x-07");
    EXPECT_EQ(window.decodeText(u""), u"");
    EXPECT_EQ(window.decodeText(u"k"), u"");
    EXPECT_EQ(window.decodeText(u"ki"), u"");
    // Groups start from the end, so one or two letters in front are left out.
    const auto ab = window.encodeText(u"ab");
    EXPECT_EQ(window.decodeText(u"q" + ab), u"ab");
    EXPECT_EQ(window.decodeText(u"qq" + ab), u"ab");
}

TEST_F(CipherTest, AGroupThatIsNoCodeRepeatsTheCharacterBeforeIt)
{
    startWith(u"x-07");
    // The capital code written in small letters is no code of the table.
    std::u16string notACode(cipher::CodeList[46]);
    for (auto& c : notACode)
        c = static_cast<char16_t>(c - u'A' + u'a');
    // Stored text of "ab" followed by the bad group for a third character: read from the end, the
    // bad group comes after "ab" and repeats "b".
    const auto stored = notACode + window.encodeText(u"ab");
    EXPECT_EQ(window.decodeText(stored), u"abb");
    // As the first group of a field it adds nothing: there is no character before it.
    EXPECT_EQ(window.decodeText(window.encodeText(u"ab") + notACode), u"ab");
}

TEST_F(CipherTest, AnotherKeyReadsOtherCharactersNotAnError)
{
    startWith(u"x-00");
    const auto stored = window.encodeText(u"a");
    startWith(u"x-01");
    EXPECT_NE(window.encodeText(u"a"), stored);
    const auto read = window.decodeText(stored);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_NE(read, u"a");
    EXPECT_NE(cipher::alphabetPosition(read[0]), 0);
}

} // namespace
} // namespace orvanta::test
