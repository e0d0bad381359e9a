// Every character of the data file's code page goes into psw.ini through a name typed by the user and
// comes back from the file as the same text.
#include "support/WindowDriver.h"

#include <gtest/gtest.h>
#include <iostream>
#include <vector>

namespace orvanta::test {
namespace {

struct CodePageCharacter {
    std::string bytes;
    std::u16string text;
};

/// Every single-byte and double-byte code that the code page reads as one character.
std::vector<CodePageCharacter> everyCharacter(const host::CodePage& codePage)
{
    std::vector<CodePageCharacter> characters;
    auto take = [&](std::string bytes) {
        auto decoded = codePage.decode(bytes);
        if (const auto* text = std::get_if<std::u16string>(&decoded)) {
            const bool one =
                text->size() == 1 || (text->size() == 2 && (*text)[0] >= 0xD800 && (*text)[0] < 0xDC00);
            if (one)
                characters.push_back({std::move(bytes), *text});
        }
    };
    for (int byte = 0; byte <= 0xFF; ++byte)
        take(std::string(1, static_cast<char>(byte)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F)
                take(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
    return characters;
}

TEST(CodePageRoundTripTest, EveryCharacterOfTheCodePageComesBackThroughAName)
{
    WindowDriver d;
    const auto characters = everyCharacter(d.services.codePage);
    std::size_t doubleByte = 0;
    std::size_t otherBytes = 0;
    std::vector<std::u16string> ids(1);
    for (const auto& c : characters) {
        doubleByte += c.bytes.size() == 2 ? 1 : 0;
        // A double quote and a line break would split the row; a name with one is refused when typed.
        if (c.text == u"\"" || c.text == u"\r" || c.text == u"\n")
            continue;
        // The NEC and IBM duplicates read as the same character as another code, and that character is
        // written with the other code's bytes: the text is the same, the bytes may not be.
        const auto encoded = d.services.codePage.encode(c.text);
        otherBytes += std::get<std::string>(encoded) != c.bytes ? 1 : 0;
        if (ids.back().size() >= 128)
            ids.emplace_back();
        ids.back() += c.text;
    }
    // All of ASCII and the half-width katakana, JIS X 0208 and the NEC and IBM extensions.
    EXPECT_GE(characters.size() - doubleByte, 128u + 63u);
    EXPECT_GE(doubleByte, 6879u + 83u + 388u);
    std::cout << characters.size() - doubleByte << " single-byte and " << doubleByte << " double-byte codes, "
              << otherBytes << " of them written back as another code of the same character\n";

    for (const auto& id : ids) {
        d.registerEntry(u"全文字", id, u"pw");
        ASSERT_EQ(d.window.Txtmassage.text(), u"登録完了全文字の " + id + u":pw");
    }
    const std::string written = d.file();

    WindowDriver fresh;
    fresh.start(written);
    EXPECT_TRUE(fresh.window.dataFileSound());
    EXPECT_EQ(fresh.window.cmbnamae.items, std::vector<std::u16string>{u"全文字"});
    fresh.chooseDestination(u"全文字");
    EXPECT_EQ(fresh.window.Lstidbox.items, ids);

    // Written once, the file keeps its bytes: a registration under another destination adds rows at
    // the end and leaves every row it read as it was.
    fresh.registerEntry(u"次", u"id", u"pw");
    EXPECT_EQ(fresh.file().substr(0, written.size()), written);
}

TEST(CodePageRoundTripTest, ShiftJisThatIsAlsoValidUtf8ReadsAsShiftJis)
{
    // Two level-2 kanji (E9A0, 9940) whose bytes are the UTF-8 of one character followed by "@", and
    // half-width katakana whose byte pairs are two-byte UTF-8 ("ﾏｲ" is CF B2).
    for (const std::string& bytes : {std::string("\xE9\xA0\x99\x40"), std::string("\xCF\xB2")}) {
        WindowDriver d;
        const auto name = std::get<std::u16string>(d.services.codePage.decode(bytes));
        d.registerEntry(name, name, u"pw");
        ASSERT_EQ(d.window.Txtmassage.text(), u"登録完了" + name + u"の " + name + u":pw");
        EXPECT_NE(d.file().find(bytes), std::string::npos);
        EXPECT_EQ(d.window.cmbnamae.items, std::vector<std::u16string>{name});
        EXPECT_TRUE(d.window.dataFileSound());
        d.registerEntry(name, u"id2", u"pw2");
        EXPECT_EQ(d.window.Txtmassage.text(), u"登録完了" + name + u"の id2:pw2");
    }
}

} // namespace
} // namespace orvanta::test
