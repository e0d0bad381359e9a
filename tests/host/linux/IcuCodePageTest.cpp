// Code page 932 through ICU: every mapping as Japanese Windows has it, and what is refused.
#include "host/linux/IcuCodePage.h"

#include <gtest/gtest.h>

namespace orvanta::host {
namespace {

struct Mapping {
    std::u16string text;
    std::string bytes;
};

// Characters whose code page 932 bytes differ between conversion tables: the ones Windows maps
// its own way (wave dash, minus, fullwidth forms) and the NEC special characters.
const Mapping kMappings[] = {
    {u"～", "\x81\x60"},
    {u"－", "\x81\x7C"},
    {u"？", "\x81\x48"},
    {u"①", "\x87\x40"},
    {u"∥", "\x81\x61"},
    {u"￢", "\x81\xCA"},
    {u"￤", "\xFA\x55"},
    {u"ｱ", "\xB1"},
    {u"ｦ", "\xA6"},
    {u"ﾟ", "\xDF"},
    {u"あ", "\x82\xA0"},
    {u"漢字", "\x8A\xBF\x8E\x9A"},
    {u"\\~", "\x5C\x7E"},
    {u"", ""},
    {u"ID: ｹﾞｰﾑ①～②", "ID: \xB9\xDE\xB0\xD1\x87\x40\x81\x60\x87\x41"},
};

TEST(IcuCodePage, EncodesAsWindows)
{
    const IcuCodePage codePage;
    for (const Mapping& mapping : kMappings) {
        const auto encoded = codePage.encode(mapping.text);
        ASSERT_TRUE(std::holds_alternative<std::string>(encoded)) << mapping.bytes;
        EXPECT_EQ(std::get<std::string>(encoded), mapping.bytes);
    }
}

TEST(IcuCodePage, DecodesAsWindows)
{
    const IcuCodePage codePage;
    for (const Mapping& mapping : kMappings) {
        const auto decoded = codePage.decode(mapping.bytes);
        ASSERT_TRUE(std::holds_alternative<std::u16string>(decoded)) << mapping.bytes;
        EXPECT_TRUE(std::get<std::u16string>(decoded) == mapping.text) << mapping.bytes;
    }
}

TEST(IcuCodePage, DecodesDuplicateCodesToTheSameCharacter)
{
    // The NEC-selected IBM extensions and the IBM extensions hold the same characters twice.
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"\xEE\xF9", u"￢"},
        {"\xFA\x54", u"￢"},
        {"\x87\x90", u"≒"},
        {"\x81\xE0", u"≒"},
    };
    const IcuCodePage codePage;
    for (const auto& c : cases) {
        const auto decoded = codePage.decode(c.bytes);
        ASSERT_TRUE(std::holds_alternative<std::u16string>(decoded));
        EXPECT_TRUE(std::get<std::u16string>(decoded) == c.text);
    }
}

TEST(IcuCodePage, EveryAsciiByteIsItsOwnCodePoint)
{
    const IcuCodePage codePage;
    for (unsigned byte = 0; byte < 0x80; ++byte) {
        const std::string bytes(1, static_cast<char>(byte));
        const std::u16string text(1, static_cast<char16_t>(byte));
        const auto decoded = codePage.decode(bytes);
        ASSERT_TRUE(std::holds_alternative<std::u16string>(decoded)) << byte;
        EXPECT_TRUE(std::get<std::u16string>(decoded) == text) << "byte " << byte;
        const auto encoded = codePage.encode(text);
        ASSERT_TRUE(std::holds_alternative<std::string>(encoded)) << byte;
        EXPECT_EQ(std::get<std::string>(encoded), bytes) << "code point " << byte;
    }
}

TEST(IcuCodePage, ControlBytesBesideDoubleByteCharacters)
{
    const IcuCodePage codePage;
    const std::string bytes = "\x1A\x82\xA0\x1C\x7F\x81\x60";
    const auto decoded = codePage.decode(bytes);
    ASSERT_TRUE(std::holds_alternative<std::u16string>(decoded));
    EXPECT_TRUE(std::get<std::u16string>(decoded) == u"\x1A"
                                                     u"あ"
                                                     u"\x1C\x7F"
                                                     u"～");
    const auto encoded = codePage.encode(std::get<std::u16string>(decoded));
    ASSERT_TRUE(std::holds_alternative<std::string>(encoded));
    EXPECT_EQ(std::get<std::string>(encoded), bytes);
}

struct EncodeFailure {
    const char* what;
    std::u16string text;
    std::size_t position;
    char32_t character;
};

TEST(IcuCodePage, RefusesWhatTheCodePageCannotHold)
{
    const EncodeFailure cases[] = {
        {"zero-width space", u"ab\u200Bc", 2, 0x200B},
        {"soft hyphen", u"\u00AD", 0, 0xAD},
        {"zero-width non-joiner", u"x\u200C", 1, 0x200C},
        {"zero-width joiner", u"x\u200D", 1, 0x200D},
        {"word joiner", u"\u2060x", 0, 0x2060},
        {"byte-order mark", u"a\uFEFF", 1, 0xFEFF},
        {"variation selector", u"あ\uFE0F", 1, 0xFE0F},
        {"ideographic variation selector", u"葛\U000E0100", 1, 0xE0100},
        {"emoji", u"ab😀", 2, 0x1F600},
        {"wave dash", u"10〜20", 2, 0x301C},
        {"minus sign", u"\u2212", 0, 0x2212},
        {"yen sign", u"¥100", 0, 0xA5},
        {"replacement character", u"ok\uFFFD", 2, 0xFFFD},
        {"hangul", u"한", 0, 0xD55C},
        {"unpaired lead surrogate", std::u16string{u'a', static_cast<char16_t>(0xD800), u'b'}, 1, 0xD800},
        {"unpaired lead surrogate at the end", std::u16string{u'a', static_cast<char16_t>(0xD83D)}, 1,
         0xD83D},
        {"unpaired trail surrogate", std::u16string{static_cast<char16_t>(0xDC00), u'a'}, 0, 0xDC00},
    };
    const IcuCodePage codePage;
    for (const EncodeFailure& c : cases) {
        const auto encoded = codePage.encode(c.text);
        ASSERT_TRUE(std::holds_alternative<CodePageError>(encoded)) << c.what;
        EXPECT_EQ(std::get<CodePageError>(encoded).position, c.position) << c.what;
        EXPECT_EQ(std::get<CodePageError>(encoded).character, c.character) << c.what;
    }
}

TEST(IcuCodePage, RefusesBytesThatAreNoCharacter)
{
    const struct {
        const char* what;
        std::string bytes;
        std::size_t position;
    } cases[] = {
        {"lead byte before a space", "\x81\x20", 0},
        {"lead byte at the end", "ab\x81", 2},
        {"lead byte before DEL", "\x81\x7F", 0},
        {"0x80", "a\x80", 1},
        {"0xA0", "\xA0", 0},
        {"0xFD", "xy\xFD", 2},
        {"0xFF", "\xFF", 0},
        {"unassigned double byte", "A\x85\x40", 1},
    };
    const IcuCodePage codePage;
    for (const auto& c : cases) {
        const auto decoded = codePage.decode(c.bytes);
        ASSERT_TRUE(std::holds_alternative<CodePageError>(decoded)) << c.what;
        EXPECT_EQ(std::get<CodePageError>(decoded).position, c.position) << c.what;
    }
}

TEST(IcuCodePage, LongTextRoundTrips)
{
    const IcuCodePage codePage;
    std::u16string text;
    for (int i = 0; i < 5000; ++i) {
        text += u"パスワード①～ｱA\t";
    }
    const auto encoded = codePage.encode(text);
    ASSERT_TRUE(std::holds_alternative<std::string>(encoded));
    const auto decoded = codePage.decode(std::get<std::string>(encoded));
    ASSERT_TRUE(std::holds_alternative<std::u16string>(decoded));
    EXPECT_TRUE(std::get<std::u16string>(decoded) == text);
}

} // namespace
} // namespace orvanta::host
