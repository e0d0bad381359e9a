// What both windows take from the core: the size a caption shrinks to, the message of a handler that
// stopped on an error nobody foresaw, the keys that click, and the help file as both windows show it.
#include "app/ControlTable.h"
#include "app/EventRoutes.h"
#include "app/HelpText.h"
#include "app/MainWindow.h"
#include "support/TestServices.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace orvanta::test {
namespace {

TEST(ViewRulesTest, ACaptionShrinksToTheLargestSizeThatFitsButNotBelowTheFloor)
{
    // The caption is 10 units wide per point; its label has `room` units.
    const struct {
        double designed;
        int room;
        double fitted;
    } cases[] = {{9.75, 100, 9.75}, {9, 90, 9}, {9, 89, 8.75}, {18, 126, 12.5}, {9.75, 20, 7}, {6, 10, 6}};
    for (const auto& c : cases) {
        const auto widthAt = [](double points) { return static_cast<int>(points * 10 + 0.5); };
        EXPECT_EQ(app::fittedCaptionPoints(c.designed, c.room, widthAt), c.fitted)
            << c.designed << " " << c.room;
    }
}

TEST(ViewRulesTest, AHandlerThatThrowsLeavesTheUnexpectedErrorMessage)
{
    TestServices services;
    app::MainWindow window{services.services()};
    app::runEvent(window, [] { throw std::runtime_error("ディスクがいっぱいです"); });
    EXPECT_EQ(window.Txtmassage.text(),
              u"思いがけない誤りで操作を最後まで行えませんでした：ディスクがいっぱいです");
}

TEST(ViewRulesTest, EnterAndSpaceClickAButtonAndEnterOnTheListOpensTheEntry)
{
    using app::ActionKey;
    using app::KeyAction;
    const struct {
        app::ControlId focused;
        ActionKey key;
        KeyAction action;
    } cases[] = {
        {app::ControlId::btnnewmode, ActionKey::Enter, KeyAction::Click},
        {app::ControlId::btndelete, ActionKey::Space, KeyAction::Click},
        {app::ControlId::Lstidbox, ActionKey::Enter, KeyAction::DblClick},
        {app::ControlId::Lstidbox, ActionKey::Space, KeyAction::None},
        // The boxes' filters see Enter as a character.
        {app::ControlId::Txtpassnew, ActionKey::Enter, KeyAction::None},
        {app::ControlId::txtketasu, ActionKey::Enter, KeyAction::None},
        {app::ControlId::cmbnamae, ActionKey::Enter, KeyAction::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::keyActionOn(c.focused, c.key), c.action) << app::design(c.focused).name;
}

TEST(ViewRulesTest, TheHelpFileReadsAsHeadingsListsAndFlowingParagraphs)
{
    using K = app::HelpBlockKind;
    using S = app::HelpStyle;
    const struct {
        const char* name;
        std::string_view bytes;
        std::optional<std::vector<app::HelpBlock>> blocks;
    } cases[] = {
        {"Headings",
         "# 使い方\n## 見る\n",
         {{{K::Heading, 1, 0, {{u"使い方"}}}, {K::Heading, 2, 0, {{u"見る"}}}}}},
        {"JapaneseFlowsOnLatinKeepsASpace",
         "\xEF\xBB\xBF**登録先**・\n**ID** を\r\nsee\nthe `c:` link\n",
         {{{K::Paragraph,
            0,
            0,
            {{u"登録先", S::Strong},
             {u"・"},
             {u"ID", S::Strong},
             {u" をsee the "},
             {u"c:", S::Code},
             {u" link"}}}}}},
        {"ListsWithContinuation",
         "1. 選び\n   ます\n- a\n  b\n\n12. x\n",
         {{{K::NumberedItem, 0, 1, {{u"選びます"}}},
           {K::BulletItem, 0, 0, {{u"a b"}}},
           {K::NumberedItem, 0, 12, {{u"x"}}}}}},
        {"IndentedLinesStandAsTheyAre",
         "文:\n\n    a～z  !\n\n    #\nend\n",
         {{{K::Paragraph, 0, 0, {{u"文:"}}},
           {K::Preformatted, 0, 0, {{u"a～z  !\n\n#", S::Code}}},
           {K::Paragraph, 0, 0, {{u"end"}}}}}},
        {"UnclosedMarksAndEscapes",
         "**a \\* C:\\Windows `x\n",
         {{{K::Paragraph, 0, 0, {{u"**a * C:\\Windows `x"}}}}}},
        {"NotUtf8", "\x82\xa0", std::nullopt},
        {"BinaryWinHelp", std::string_view("?_\x03\0\0", 5), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::readHelpFile(c.bytes), c.blocks) << c.name;
}

} // namespace
} // namespace orvanta::test
