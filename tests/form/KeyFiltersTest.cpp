// What each filtered box lets through, keystroke by keystroke.
#include "form/EventRoutes.h"
#include "form/MainWindow.h"
#include "support/TestServices.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

using Handler = void (form::MainWindow::*)(std::int16_t&);

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kFullWidthQuestion = -32440;                     // "？", 0x8148 in Shift_JIS
constexpr std::int16_t kFullWidthA = static_cast<std::int16_t>(0x8260); // "Ａ"

class KeyFiltersTest : public ::testing::Test {
protected:
    /// Presses one key into a box: whether it went in, and the message left.
    std::pair<bool, std::u16string> press(Handler handler, std::int16_t code)
    {
        window.Txtmassage.setText(u"an earlier message");
        std::int16_t key = code;
        (window.*handler)(key);
        EXPECT_TRUE(key == 0 || key == code) << "a filter only keeps or cancels a key";
        return {key != 0, window.Txtmassage.text()};
    }

    TestServices services;
    form::MainWindow window{services.services()};
};

TEST_F(KeyFiltersTest, ThePasswordAndAddressBoxesTakeExactlyTheirCharacters)
{
    const std::u16string_view refused = u"入力可能文字ではありません";
    for (int code = -32768; code <= 32767; ++code) {
        const auto c = static_cast<std::int16_t>(code);
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        const bool symbol = std::u16string_view(u" !#%*+-./:<=>[]^_{}").find(static_cast<char16_t>(c)) !=
                                std::u16string_view::npos &&
                            c > 0 && c < 128;
        const bool password = letterOrDigit || symbol;
        const bool address = password || c == '@';

        auto [in, message] = press(&form::MainWindow::Txtpassnew_KeyPress, c);
        ASSERT_EQ(in, password) << "password box, code " << code;
        ASSERT_EQ(message, in ? u"" : refused) << "password box, code " << code;

        std::tie(in, message) = press(&form::MainWindow::Txtbikouran_KeyPress, c);
        ASSERT_EQ(in, address) << "address box, code " << code;
        ASSERT_EQ(message, in ? u"" : refused) << "address box, code " << code;
    }
}

struct Key {
    const char* what;
    std::int16_t code;
    bool password;
    bool address;
};

TEST_F(KeyFiltersTest, NamedKeysInTheEntryBoxes)
{
    for (const auto& k : {Key{"@", '@', false, true}, Key{"space", ' ', true, true},
                          Key{"0", '0', true, true}, Key{"Backspace", kBackspace, false, false},
                          Key{"Enter", 13, false, false}, Key{"double quote", '"', false, false},
                          Key{"tilde", '~', false, false}, Key{"full-width A", kFullWidthA, false, false},
                          Key{"half-width katakana", static_cast<std::int16_t>(0xB1), false, false}}) {
        EXPECT_EQ(press(&form::MainWindow::Txtpassnew_KeyPress, k.code).first, k.password) << k.what;
        EXPECT_EQ(press(&form::MainWindow::Txtbikouran_KeyPress, k.code).first, k.address) << k.what;
    }
}

TEST_F(KeyFiltersTest, TheDisplayBoxesTakeOnlyTheFullWidthQuestionMark)
{
    const std::u16string display =
        u"モードを切り替えないと、この項目は入力できません：登録モード or 編集モード";
    struct Box {
        Handler handler;
        std::u16string message;
    };
    for (const auto& box : {Box{&form::MainWindow::Lblpassword_KeyPress, display},
                            Box{&form::MainWindow::Lblbikouran_KeyPress, display},
                            Box{&form::MainWindow::Txtmassage_KeyPress, u"この項目は入力できません"}}) {
        for (std::int16_t code :
             {std::int16_t{'a'}, std::int16_t{'?'}, kBackspace, kFullWidthA, std::int16_t{' '}})
            EXPECT_EQ(press(box.handler, code), std::make_pair(false, box.message)) << code;
        EXPECT_EQ(press(box.handler, kFullWidthQuestion), std::make_pair(true, std::u16string()));
    }
}

TEST_F(KeyFiltersTest, TheLengthBoxTakesDigitsOnly)
{
    const std::u16string message = u"5 桁から 20桁の間で指定して下さい。";
    for (char c = '0'; c <= '9'; ++c)
        EXPECT_EQ(press(&form::MainWindow::txtketasu_KeyPress, c), std::make_pair(true, std::u16string()));
    for (std::int16_t code : {std::int16_t{'a'}, std::int16_t{'-'}, kBackspace, kFullWidthA})
        EXPECT_EQ(press(&form::MainWindow::txtketasu_KeyPress, code), std::make_pair(false, message));
}

TEST_F(KeyFiltersTest, CharactersArriveAsTheirShiftJisCodes)
{
    EXPECT_EQ(window.keyCodeOf(U'a'), 'a');
    EXPECT_EQ(window.keyCodeOf(U'\b'), kBackspace);
    EXPECT_EQ(window.keyCodeOf(U'？'), kFullWidthQuestion);
    EXPECT_EQ(window.keyCodeOf(U'ｱ'), 0xB1);
    EXPECT_EQ(window.keyCodeOf(U'Ａ'), kFullWidthA);
    // Outside the code page a character arrives as "?", which no filter lets through.
    EXPECT_EQ(window.keyCodeOf(U'😀'), '?');
    EXPECT_EQ(window.keyCodeOf(U'\u200B'), '?');
}

TEST_F(KeyFiltersTest, TextTypedIntoABoxPassesItsFilterOneCharacterAtATime)
{
    struct Case {
        form::ControlId box;
        std::u16string_view typed;
        std::u16string_view accepted;
        bool changed;
    };
    for (const auto& c : std::initializer_list<Case>{
             {form::ControlId::Txtpassnew, u"ab#9", u"ab#9", false},
             {form::ControlId::Txtpassnew, u"aあ\r😀b", u"ab", true}, // kana, Enter, outside the code page
             {form::ControlId::Txtbikouran, u"x@y", u"x@y", false},
             {form::ControlId::txtketasu, u"1a2", u"12", true},
             {form::ControlId::Txtmassage, u"?？", u"？", true}, // the message box takes only "？"
         }) {
        const auto typed = form::passKeyPress(window, form::keyPressHandler(c.box), c.typed);
        EXPECT_EQ(typed.accepted, c.accepted) << static_cast<int>(c.box);
        EXPECT_EQ(typed.changed, c.changed) << static_cast<int>(c.box);
    }
    // Boxes the user types into freely have no filter; buttons route to their Click handler.
    EXPECT_EQ(form::keyPressHandler(form::ControlId::Txtnamae), nullptr);
    EXPECT_TRUE(form::isTypedBox(form::ControlId::Txtnamae));
    EXPECT_EQ(form::clickHandler(form::ControlId::btnnew), &form::MainWindow::btnnew_Click);
}

} // namespace
} // namespace orvanta::test
