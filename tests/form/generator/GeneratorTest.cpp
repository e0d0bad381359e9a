// The password generator behind "生成".
#include "rules/generator/Generator.h"

#include "form/MainWindow.h"
#include "host/HostRandomSource.h"
#include "support/TestServices.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace orvanta::test {
namespace {

class GeneratorTest : public ::testing::Test {
protected:
    /// Sets the length box and presses "生成".
    std::u16string generate(std::u16string_view length)
    {
        window.txtketasu.setText(std::u16string(length));
        window.btncleate_Click();
        return window.Txtpassnew.text();
    }

    TestServices services;
    form::MainWindow window{services.services()};
};

TEST_F(GeneratorTest, TheLengthBoxGivesTheLengthWithItsDefaultAndLowerBound)
{
    struct Case {
        std::u16string_view box;
        std::size_t length;
        std::u16string_view boxAfter;
    };
    for (const auto& c : {Case{u"", 12, u"12"}, Case{u"3", 5, u"5"}, Case{u"0", 5, u"5"}, Case{u"5", 5, u"5"},
                          Case{u"05", 5, u"05"}, Case{u"12", 12, u"12"}, Case{u"20", 20, u"20"},
                          Case{u"25", 25, u"25"}, Case{u"1000", 1000, u"1000"}}) {
        EXPECT_EQ(generate(c.box).size(), c.length) << std::string(c.box.begin(), c.box.end());
        EXPECT_EQ(window.txtketasu.text(), c.boxAfter);
    }
}

TEST_F(GeneratorTest, LengthsItCannotMakeAreRefusedWithAMessage)
{
    window.Txtpassnew.setText(u"typed");
    for (auto box : {u"99999999999", u"1001", u"-3", u"1.5", u"１２"}) {
        window.Txtmassage.setText(u"");
        EXPECT_EQ(generate(box), u"typed");
        EXPECT_FALSE(window.Txtmassage.text().empty());
    }
    generate(u"99999999999");
    EXPECT_EQ(window.Txtmassage.text(), u"桁数が大きすぎます。1000 桁以下で指定して下さい。");
    generate(u"1.5");
    EXPECT_EQ(window.Txtmassage.text(), u"桁数は数字で指定して下さい。");
}

TEST_F(GeneratorTest, AFixedRandomSequenceGivesTheExactPassword)
{
    services.random.setValues({0, 25, 26, 51, 52, 61});
    EXPECT_EQ(generate(u"6"), u"azAZ09");
    EXPECT_TRUE(std::all_of(services.random.bounds().begin(), services.random.bounds().end(),
                            [](auto bound) { return bound == 62; }));
}

TEST(Generator, TheSystemSourceUsesAllSixtyTwoCharactersAndNeverRepeatsItself)
{
    host::HostRandomSource random;
    std::set<char16_t> seen;
    for (int i = 0; i < 200; ++i)
        for (char16_t c : generator::generatePassword(20, random))
            seen.insert(c);
    // 4,000 draws: missing any one of 62 characters has a chance of about 1e-26.
    EXPECT_EQ(seen.size(), 62u);
    for (char16_t c : seen)
        EXPECT_NE(std::find(generator::kGeneratorAlphabet.begin(), generator::kGeneratorAlphabet.end(), c),
                  generator::kGeneratorAlphabet.end());
    EXPECT_NE(generator::generatePassword(20, random), generator::generatePassword(20, random));
}

} // namespace
} // namespace orvanta::test
