// What both windows take from the core: the size a caption shrinks to, the room a box leaves for the
// controls over its right end, the message of a handler that stopped on an error nobody foresaw, the
// keys that click, and the help file as both windows show it.
#include "form/ControlTable.h"
#include "form/EventRoutes.h"
#include "form/HelpText.h"
#include "form/MainWindow.h"
#include "form/Screens.h"
#include "support/TestServices.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
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
        EXPECT_EQ(form::fittedCaptionPoints(c.designed, c.room, widthAt), c.fitted)
            << c.designed << " " << c.room;
    }
}

TEST(ViewRulesTest, ABoxsTextEndsWhereTheControlsOverItBegin)
{
    using I = form::ControlId;
    // The password display ends at クリップ (6360); the password box at the length box (6000), which
    // stands left of 生成 on the same screens; both boxes end at 7335. The length box lies over 生成,
    // not under it, and the storage boxes under the message box are never shown.
    const struct {
        I box;
        int margin;
    } cases[] = {{I::Lblpassword, 975}, {I::Txtpassnew, 1335}, {I::txtketasu, 0}, {I::Txtmassage, 0},
                 {I::Lblbikouran, 0},   {I::Txtbikouran, 0},   {I::Txtnamae, 0},  {I::Txtidbox, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(form::rightTextMarginTwips(c.box), c.margin) << form::design(c.box).name;
}

TEST(ViewRulesTest, AHandlerThatThrowsLeavesTheUnexpectedErrorMessage)
{
    TestServices services;
    form::MainWindow window{services.services()};
    form::runEvent(window, [] { throw std::runtime_error("ディスクがいっぱいです"); });
    EXPECT_EQ(window.Txtmassage.text(),
              u"思いがけない誤りで操作を最後まで行えませんでした：ディスクがいっぱいです");
}

TEST(ViewRulesTest, EnterAndSpaceClickAButtonAndEnterOnTheListOpensTheEntry)
{
    using form::ActionKey;
    using form::KeyAction;
    const struct {
        form::ControlId focused;
        ActionKey key;
        KeyAction action;
    } cases[] = {
        {form::ControlId::btnnewmode, ActionKey::Enter, KeyAction::Click},
        {form::ControlId::btndelete, ActionKey::Space, KeyAction::Click},
        {form::ControlId::Lstidbox, ActionKey::Enter, KeyAction::DblClick},
        {form::ControlId::Lstidbox, ActionKey::Space, KeyAction::None},
        // The boxes' filters see Enter as a character.
        {form::ControlId::Txtpassnew, ActionKey::Enter, KeyAction::None},
        {form::ControlId::txtketasu, ActionKey::Enter, KeyAction::None},
        {form::ControlId::cmbnamae, ActionKey::Enter, KeyAction::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(form::keyActionOn(c.focused, c.key), c.action) << form::design(c.focused).name;
}

TEST(ViewRulesTest, EveryControlIsNamedAsAUserSeesIt)
{
    using I = form::ControlId;
    using R = form::AccessibleRole;
    const struct {
        I id;
        std::u16string_view name;
        R role;
        bool readOnly;
    } cases[] = {
        {I::Txtdirectry, u"データの置き場所", R::Text, true},
        {I::Txtmassage, u"メッセージ", R::Text, true},
        {I::cmbnamae, u"登録先（プロダクト名）", R::ComboBox, false},
        {I::Lstidbox, u"登録ID名", R::List, false},
        {I::btnnew, u"登録する", R::Button, false},
        {I::btnkousin, u"更新する", R::Button, false},
        {I::Txtnamae, u"登録先（プロダクト名）", R::Text, false},
        {I::Txtidbox, u"登録ID名", R::Text, false},
        {I::Txtpassnew, u"パスワード", R::Text, false},
        {I::btndelete, u"削除する", R::Button, false},
        {I::btnnewmode, u"登録モードヘ", R::Button, false},
        {I::btnmordori, u"戻る", R::Button, false},
        {I::regprodid, u"プロダクトID", R::Text, true},
        {I::btnload, u"ロード", R::Button, false},
        {I::btnunload, u"バックアップ", R::Button, false},
        {I::btnclipset, u"クリップ", R::Button, false},
        {I::Lblpassword, u"パスワード", R::Text, true},
        {I::Txtbikouran, u"パスワード登録時メールアドレス", R::Text, false},
        {I::Lblbikouran, u"パスワード登録時メールアドレス", R::Text, true},
        {I::btncleate, u"生成", R::Button, false},
        {I::txtketasu, u"自動生成パスワードの桁数", R::Text, false},
        {I::lblsetumei1, u"登録先（プロダクト名）", R::Label, true},
        {I::lblsetumei2, u"登録ID名", R::Label, true},
        {I::lblsetumei3, u"パスワード", R::Label, true},
        {I::Label5, u"パスワード登録時メールアドレス", R::Label, true},
        {I::riyoukanou, form::design(I::riyoukanou).caption, R::Label, true},
        {I::Label1, u"Orvanta", R::Label, true},
        {I::Label2, u"https://orvanta.example/", R::Label, true},
        {I::Label3, form::design(I::Label3).caption, R::Label, true},
        {I::Label4, u"F1：ヘルプ表示", R::Label, true},
        {I::Label6, u"", R::Nothing, true},
        {I::Line1, u"枠線", R::Separator, false},
        {I::Line2, u"枠線", R::Separator, false},
        {I::Line3, u"枠線", R::Separator, false},
        {I::Line4, u"枠線", R::Separator, false},
        {I::Image1, u"背景の絵", R::Image, false},
    };
    ASSERT_EQ(std::size(cases), form::kControlCount);
    for (const auto& c : cases) {
        const auto name = form::design(c.id).name;
        EXPECT_EQ(form::accessibleName(c.id), c.name) << name;
        EXPECT_EQ(form::accessibleRole(c.id), c.role) << name;
        EXPECT_EQ(form::accessibleReadOnly(c.id), c.readOnly) << name;
    }
}

TEST(ViewRulesTest, TheListKeysChooseAsInAWindowsListBox)
{
    using K = form::ListKey;
    constexpr int none = -1;
    constexpr int stays = -2;
    // A list of four entries that shows two at once.
    const struct {
        K key;
        int chosen;
        int next;
    } cases[] = {
        {K::Down, none, 0},  {K::Space, none, 0},     {K::Home, none, 0},   {K::Up, none, 0},
        {K::End, none, 3},   {K::PageDown, none, 1},  {K::PageUp, none, 0}, {K::Down, 0, 1},
        {K::Down, 3, stays}, {K::Up, 2, 1},           {K::Up, 0, stays},    {K::Home, 2, 0},
        {K::Home, 0, stays}, {K::End, 1, 3},          {K::End, 3, stays},   {K::Space, 2, stays},
        {K::PageDown, 1, 3}, {K::PageDown, 3, stays}, {K::PageUp, 3, 1},    {K::PageUp, 1, 0},
        {K::Down, 7, 0}, // a choice beyond the entries, as if nothing were chosen
    };
    for (const auto& c : cases) {
        const auto next = form::listKeyChoice(c.key, c.chosen, 4, 2);
        EXPECT_EQ(next.value_or(stays), c.next) << static_cast<int>(c.key) << " from " << c.chosen;
    }
    for (auto key : {K::Down, K::Space, K::Home, K::End})
        EXPECT_EQ(form::listKeyChoice(key, none, 0, 2), std::nullopt) << "an empty list";
}

TEST(ViewRulesTest, TheHelpFileReadsAsHeadingsListsAndFlowingParagraphs)
{
    using K = host::HelpBlockKind;
    using S = host::HelpStyle;
    const struct {
        const char* name;
        std::string_view bytes;
        std::optional<host::HelpDocument> blocks;
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
             {u"c\u2060:", S::Code},
             {u" link"}}}}}},
        {"ListsWithContinuationNumberedOn",
         "1. 選び\n   ます\n- a\n  b\n\n12. x\n\n1. y\n",
         {{{K::NumberedItem, 0, 1, {{u"選びます"}}},
           {K::BulletItem, 0, 0, {{u"a b"}}},
           {K::NumberedItem, 0, 12, {{u"x"}}},
           {K::NumberedItem, 0, 13, {{u"y"}}}}}},
        {"IndentedLinesStandAsTheyAre",
         "文:\n\n    a～z  !\n\n    #\nend\n",
         {{{K::Paragraph, 0, 0, {{u"文:"}}},
           {K::Preformatted, 0, 0, {{u"a～z  !\n\n#", S::Code}}},
           {K::Paragraph, 0, 0, {{u"end"}}}}}},
        {"UnclosedMarksAndEscapes",
         "**a \\* C:\\Windows `x\n",
         {{{K::Paragraph, 0, 0, {{u"**a * C\u2060:\u2060\\\u2060Windows `x"}}}}}},
        {"NotUtf8", "\x82\xa0", std::nullopt},
        {"BinaryWinHelp", std::string_view("?_\x03\0\0", 5), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(form::readHelpFile(c.bytes), c.blocks) << c.name;
}

// The shapes of help file that kept the window busy for minutes, small, and the longest stretch of
// text without a place to break: each reads as the blocks it is, and an invisible break (U+200B)
// follows every kLongestUnbroken characters that have none, never between the halves of a character.
TEST(ViewRulesTest, AHostileHelpFileReadsAsWhatItIsWithPlacesToBreak)
{
    using K = host::HelpBlockKind;
    using S = host::HelpStyle;
    const auto times = [](std::string_view unit, int count) {
        std::string all;
        for (int i = 0; i < count; ++i)
            all += unit;
        return all;
    };
    const std::u16string x80(form::kLongestUnbroken, u'x');
    std::string list;
    host::HelpDocument items;
    for (int i = 0; i < 300; ++i) {
        list += "- 項目 " + std::to_string(i) + "\n";
        const auto number = std::to_string(i);
        items.push_back({K::BulletItem, 0, 0, {{u"項目 " + std::u16string(number.begin(), number.end())}}});
    }
    std::u16string flowing;
    for (int i = 0; i < 300; ++i)
        flowing += u"これは長い段落の一行です word";
    const struct {
        const char* name;
        std::string bytes;
        host::HelpDocument blocks;
    } cases[] = {
        {"OneLongParagraph",
         times("これは長い段落の一行です word\n", 300),
         {{K::Paragraph, 0, 0, {{flowing}}}}},
        {"ManyItems", list, items},
        {"MarksInALine",
         times("`**x", 3) + "\n",
         {{K::Paragraph, 0, 0, {{u"**x", S::Code}, {u"x`", S::Strong}, {u"x"}}}}},
        {"ALongWord",
         std::string(200, 'x'),
         {{K::Paragraph, 0, 0, {{x80 + u'\u200B' + x80 + u'\u200B' + std::u16string(40, u'x')}}}}},
        {"AcrossRuns",
         std::string(70, 'x') + "**" + std::string(20, 'y') + "**",
         {{K::Paragraph, 0, 0, {{std::u16string(70, u'x')}, {u"yyyyyyyyyy\u200Byyyyyyyyyy", S::Strong}}}}},
        {"TwoHalvesStayTogether",
         times("（", 79) + "\xF0\xA0\xAE\xB7)",
         {{K::Paragraph, 0, 0, {{std::u16string(79, u'（') + u"\U00020BB7\u200B)"}}}}},
        {"IndentedLine",
         "    " + std::string(100, 'y'),
         {{K::Preformatted,
           0,
           0,
           {{std::u16string(80, u'y') + u'\u200B' + std::u16string(20, u'y'), S::Code}}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(form::readHelpFile(c.bytes), c.blocks) << c.name;

    // A line of marks as the issue had it, longer: no stretch runs on without a place to break.
    const auto marks = form::readHelpFile(times("`**x", 5000));
    ASSERT_TRUE(marks && marks->size() == 1);
    std::size_t unbroken = 0;
    for (const auto& run : marks->front().runs)
        for (const char16_t c : run.text) {
            unbroken = c == u'\u200B' ? 0 : unbroken + 1;
            ASSERT_LE(unbroken, form::kLongestUnbroken);
        }
}

// A line breaks as Japanese is set, and never inside a word such as a file name: where a window would
// break one by itself, the text holds a word joiner (U+2060).
TEST(ViewRulesTest, HelpLinesBreakAsJapaneseIsSetAndNeverInsideAWord)
{
    const struct {
        char16_t before, after;
        bool breaks;
    } pairs[] = {
        {u'登', u'録', true},  {u'す', u'。', false}, {u'。', u'」', false}, {u'「', u'新', false},
        {u'ャ', u'ッ', false}, {u'ロ', u'ー', false}, {u'D', u'を', true},   {u'を', u'I', true},
        {u'k', u'）', false},  {u'（', u'C', false},  {u'i', u'.', false},   {u'.', u'b', false},
        {u'a', u' ', false},   {u'x', u'y', false},   {u'き', u'…', false},  {u'\xD842', u'\xDFB7', false},
    };
    for (const auto& p : pairs)
        EXPECT_EQ(form::lineMayBreak(p.before, p.after), p.breaks)
            << static_cast<int>(p.before) << " " << static_cast<int>(p.after);

    const struct {
        std::string_view bytes;
        std::u16string text;
    } words[] = {
        {"**psw.ini.bak** として", u"psw.ini.bak"},
        {"`~/.config/orvanta`", u"~\u2060/\u2060.config\u2060/\u2060orvanta"},
        {"%LOCALAPPDATA%\\V", u"%\u2060LOCALAPPDATA\u2060%\u2060\\\u2060V"},
        {"Ctrl+C・", u"Ctrl\u2060+\u2060C・"},
    };
    for (const auto& w : words)
        EXPECT_EQ(form::readHelpFile(w.bytes)->front().runs.front().text, w.text) << w.bytes;
}

// A section marked for one system shows on that system only; its marks show nowhere and end the
// paragraph before them.
TEST(ViewRulesTest, TheHelpShowsTheSectionsOfItsOwnSystem)
{
    using K = host::HelpBlockKind;
    using form::HelpSystem;
    const auto paragraphs = [](std::initializer_list<std::u16string> texts) {
        host::HelpDocument blocks;
        for (const auto& text : texts)
            blocks.push_back({K::Paragraph, 0, 0, {{text}}});
        return blocks;
    };
    const std::string_view both = "all\n<!-- windows -->\nA: ドライブ\n\n<!-- /windows -->\n"
                                  "  <!-- linux -->  \nフォルダー\n<!-- /linux -->\nend\n";
    const struct {
        const char* name;
        std::string_view bytes;
        HelpSystem system;
        host::HelpDocument blocks;
    } cases[] = {
        {"WindowsSection", both, HelpSystem::Windows, paragraphs({u"all", u"A\u2060: ドライブ", u"end"})},
        {"LinuxSection", both, HelpSystem::Linux, paragraphs({u"all", u"フォルダー", u"end"})},
        {"UnclosedRunsToTheEnd", "a\n<!-- linux -->\nb\n", HelpSystem::Windows, paragraphs({u"a"})},
        {"NextStartEndsIt", "<!-- linux -->\nb\n<!-- windows -->\nc\n", HelpSystem::Windows,
         paragraphs({u"c"})},
        {"StrayEndShowsNothing", "a\n<!-- /linux -->\nb\n", HelpSystem::Linux, paragraphs({u"a", u"b"})},
        {"OtherCommentsAreText", "<!-- mac -->\n", HelpSystem::Linux,
         paragraphs({u"<\u2060!\u2060-\u2060- mac -\u2060-\u2060>"})},
        {"IndentedIsText",
         "    <!-- linux -->\n",
         HelpSystem::Windows,
         {{K::Preformatted,
           0,
           0,
           {{u"<\u2060!\u2060-\u2060- linux -\u2060-\u2060>", host::HelpStyle::Code}}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(form::readHelpFile(c.bytes, c.system), c.blocks) << c.name;
}

// The guide speaks of the system it is read on: Windows users never read of Linux folders, nor Linux
// users of the Windows folder's VirtualStore.
TEST(HelpFileTest, SpeaksOfTheSystemItIsShownOn)
{
    std::ifstream file(ORVANTA_HELP_FILE, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const struct {
        form::HelpSystem system;
        std::u16string own, other;
    } cases[] = {
        {form::HelpSystem::Windows, u"VirtualStore", u"dosdevices"},
        {form::HelpSystem::Windows, u"WOW6432Node", u"machine-id"},
        {form::HelpSystem::Linux, u"dosdevices", u"VirtualStore"},
        {form::HelpSystem::Linux, u"machine-id", u"WOW6432Node"},
    };
    for (const auto& c : cases) {
        const auto help = form::readHelpFile(bytes, c.system);
        ASSERT_TRUE(help);
        std::u16string text;
        for (const auto& block : *help)
            for (const auto& run : block.runs)
                std::copy_if(run.text.begin(), run.text.end(), std::back_inserter(text),
                             [](char16_t ch) { return ch != form::kWordJoiner; });
        EXPECT_NE(text.find(c.own), std::u16string::npos) << static_cast<int>(c.system);
        EXPECT_EQ(text.find(c.other), std::u16string::npos) << static_cast<int>(c.system);
    }
}

} // namespace
} // namespace orvanta::test
