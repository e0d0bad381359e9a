// Code page 932 through Windows' own conversion, under Wine.
#include "host/windows/HostCodePage.h"

#include "host/WidthFold.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace orvanta::host {
namespace {

std::string bytesOf(const CodePage::Encoded& encoded)
{
    EXPECT_TRUE(std::holds_alternative<std::string>(encoded));
    return std::holds_alternative<std::string>(encoded) ? std::get<std::string>(encoded) : std::string();
}

TEST(HostCodePage, TheAnsiCodePageIsJapanese)
{
    EXPECT_EQ(GetACP(), 932u);
}

TEST(HostCodePage, EveryAsciiByteIsItsOwnCharacterBothWays)
{
    const HostCodePage codePage;
    std::string bytes;
    std::u16string text;
    for (int c = 0; c < 0x80; ++c) {
        bytes += static_cast<char>(c);
        text += static_cast<char16_t>(c);
    }
    EXPECT_EQ(bytesOf(codePage.encode(text)), bytes);
    const auto decoded = codePage.decode(bytes);
    ASSERT_TRUE(std::holds_alternative<std::u16string>(decoded));
    EXPECT_EQ(std::get<std::u16string>(decoded), text);
}

TEST(HostCodePage, JapaneseTextHasItsShiftJisBytes)
{
    const HostCodePage codePage;
    // 銀行 8B E2 8D 73, half-width ﾏｲ CF B2, the circled one of code page 932 87 40, 髙 (an IBM
    // extension) FB FC.
    const std::string bytes = "\x8b\xe2\x8d\x73\xcf\xb2\x87\x40\xfb\xfc";
    EXPECT_EQ(bytesOf(codePage.encode(u"銀行ﾏｲ①髙")), bytes);
    EXPECT_EQ(std::get<std::u16string>(codePage.decode(bytes)), u"銀行ﾏｲ①髙");
}

struct Unmappable {
    std::u16string text;
    std::size_t position;
    char32_t character;
};

TEST(HostCodePage, ACharacterOutsideTheCodePageIsAnErrorAtItsPosition)
{
    const HostCodePage codePage;
    const Unmappable cases[] = {
        {u"ab€", 2, U'€'},        // no such character
        {u"x¥y", 1, U'¥'},        // the system's best fit would write a backslash
        {u"café", 3, U'é'},       // ... and a plain e
        {u"a\u200Bb", 1, 0x200B}, // an invisible character is no exception
        {u"pw😀", 2, 0x1F600},     // beyond the BMP: a surrogate pair, reported as one character
        {u"a\xD800z", 1, 0xD800}, // an unpaired surrogate
    };
    for (const auto& c : cases) {
        const auto encoded = codePage.encode(c.text);
        ASSERT_TRUE(std::holds_alternative<CodePageError>(encoded)) << c.position;
        EXPECT_EQ(std::get<CodePageError>(encoded).position, c.position);
        EXPECT_EQ(std::get<CodePageError>(encoded).character, c.character);
    }
}

TEST(HostCodePage, BytesThatAreNoCharacterAreAnErrorAtTheirPosition)
{
    const HostCodePage codePage;
    const auto cut = codePage.decode("ab\x8b");
    ASSERT_TRUE(std::holds_alternative<CodePageError>(cut));
    EXPECT_EQ(std::get<CodePageError>(cut).position, 2u);
    const auto badTrail = codePage.decode("\x8b\xe2z\x81\x0a");
    ASSERT_TRUE(std::holds_alternative<CodePageError>(badTrail));
    EXPECT_EQ(std::get<CodePageError>(badTrail).position, 3u);
}

TEST(WidthFoldWin32, TheSystemFoldsFullWidthTextAndKatakanaToHalfWidth)
{
    EXPECT_EQ(toHalfwidth(u"３．５　インチ　ＦＤ　（Ａ：）"), u"3.5 ｲﾝﾁ FD (A:)");
    EXPECT_EQ(toHalfwidth(u"3.5 インチ FD (A:)"), u"3.5 ｲﾝﾁ FD (A:)");
    EXPECT_EQ(toHalfwidth(u"ガイド"), u"ｶﾞｲﾄﾞ");
    // Hiragana and kanji have no half-width form.
    EXPECT_EQ(toHalfwidth(u"いんち漢字"), u"いんち漢字");
}

} // namespace
} // namespace orvanta::host
