// Registering, updating and deleting entries, checked by the message and by the bytes of psw.ini.
#include "host/ErrorDescription.h"
#include "rules/store/Decimal.h"
#include "support/WindowDriver.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        d.start({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                 entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                 entry(u"銀行", u"1234", u"pin0")});
        before = d.file();
    }

    WindowDriver d;
    std::string before;
};

// --- registration ------------------------------------------------------------------------------

TEST_F(EntryTest, RegistersTheFirstEntryIntoANewFile)
{
    WindowDriver empty;
    empty.registerEntry(u"銀行", u"web", u"a");

    EXPECT_EQ(empty.window.Txtmassage.text(), u"登録完了銀行の web:a");
    // 銀行 is 8B E2 8D 73 in Shift_JIS; an empty address is stored as an empty field.
    const auto code = std::get<std::string>(empty.services.codePage.encode(empty.window.encodeText(u"a")));
    const std::string expected = "\"hyoujimark\",\"\x8b\xe2\x8d\x73\",\" \",\"1\",\" \"\r\n"
                                 "\"\x8b\xe2\x8d\x73\",\"web\",\"" +
                                 code + "\",\" \",\"\"\r\n";
    EXPECT_EQ(empty.file(), expected);
    EXPECT_TRUE(empty.onResultScreen());
}

TEST_F(EntryTest, RegistersUnderANewDestinationAtTheEnd)
{
    d.registerEntry(u"ショップ", u"shop-id", u"pw", u"a@b.jp");

    EXPECT_EQ(d.window.Txtmassage.text(), u"登録完了ショップの shop-id:pw");
    EXPECT_EQ(d.file(),
              d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                          entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                          entry(u"銀行", u"1234", u"pin0"), header(u"ショップ", u"1"),
                          entry(u"ショップ", u"shop-id", u"pw", u"a@b.jp")}));
    EXPECT_EQ(d.window.cmbnamae.items, (std::vector<std::u16string>{u"Mail", u"銀行", u"ショップ"}));
    EXPECT_TRUE(d.window.Lstidbox.items.empty());
    EXPECT_TRUE(d.onResultScreen());
}

TEST_F(EntryTest, RegistersUnderAnExistingDestinationRaisingItsCount)
{
    d.registerEntry(u"Mail", u"jiro", u"pw2");

    EXPECT_EQ(d.window.Txtmassage.text(), u"登録完了Mailの jiro:pw2");
    EXPECT_EQ(d.file(),
              d.rowsFile({header(u"Mail", u"3"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                          entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                          entry(u"銀行", u"1234", u"pin0"), entry(u"Mail", u"jiro", u"pw2")}));
}

TEST_F(EntryTest, RegisteringAUsedPairChangesNothing)
{
    d.registerEntry(u"Mail", u"taro", u"other");

    EXPECT_EQ(d.window.Txtmassage.text(), u"新規名は使われている");
    EXPECT_EQ(d.file(), before);
    EXPECT_TRUE(d.onResultScreen());
    // The next registration is not taken for a used pair.
    d.registerEntry(u"Mail", u"saburo", u"s");
    EXPECT_EQ(d.window.Txtmassage.text(), u"登録完了Mailの saburo:s");
}

// --- update and delete -------------------------------------------------------------------------

TEST_F(EntryTest, UpdatesAnEntryInPlace)
{
    d.openEntry(u"Mail", u"taro");
    d.window.Txtpassnew.setText(u"new1");
    d.window.Txtbikouran.setText(u"");
    d.window.btnkousin_Click();

    EXPECT_EQ(d.window.Txtmassage.text(), u"更新完了Mailの taro:new1");
    EXPECT_EQ(d.file(), d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"new1"),
                                    entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                                    entry(u"銀行", u"1234", u"pin0")}));
    EXPECT_TRUE(d.onResultScreen());
}

TEST_F(EntryTest, UpdatesTheIdOfAnEntry)
{
    d.openEntry(u"Mail", u"hanako");
    d.window.Txtidbox.setText(u"hanako2");
    d.window.btnkousin_Click();

    EXPECT_EQ(d.window.Txtmassage.text(), u"更新完了Mailの hanako2:Xy9!");
    EXPECT_EQ(d.file(),
              d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                          entry(u"Mail", u"hanako2", u"Xy9!"), header(u"銀行", u"1"),
                          entry(u"銀行", u"1234", u"pin0")}));
}

TEST_F(EntryTest, RenamingTheDestinationRenamesAllItsRows)
{
    d.openEntry(u"Mail", u"taro");
    d.window.Txtnamae.setText(u"ウェブメール");
    d.window.btnkousin_Click();

    EXPECT_EQ(d.window.Txtmassage.text(), u"更新完了ウェブメールの taro:abc123");
    EXPECT_EQ(d.file(), d.rowsFile({header(u"ウェブメール", u"2"),
                                    entry(u"ウェブメール", u"taro", u"abc123", u"taro@example.jp"),
                                    entry(u"ウェブメール", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                                    entry(u"銀行", u"1234", u"pin0")}));
    EXPECT_EQ(d.window.cmbnamae.items, (std::vector<std::u16string>{u"ウェブメール", u"銀行"}));
}

TEST_F(EntryTest, DeletesOneEntryOfThree)
{
    d.registerEntry(u"Mail", u"jiro", u"pw2");
    d.openEntry(u"Mail", u"hanako");
    d.window.btndelete_Click();

    EXPECT_EQ(d.window.Txtmassage.text(), u"削除完了Mailの hanako:Xy9!");
    EXPECT_EQ(d.file(),
              d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                          header(u"銀行", u"1"), entry(u"銀行", u"1234", u"pin0"),
                          entry(u"Mail", u"jiro", u"pw2")}));
    EXPECT_TRUE(d.onResultScreen());
}

TEST_F(EntryTest, DeletingTheLastEntryRemovesTheDestination)
{
    d.openEntry(u"銀行", u"1234");
    d.window.btndelete_Click();

    EXPECT_EQ(d.window.Txtmassage.text(), u"削除完了銀行の 1234:pin0");
    EXPECT_EQ(d.file(),
              d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                          entry(u"Mail", u"hanako", u"Xy9!")}));
    EXPECT_EQ(d.window.cmbnamae.items, (std::vector<std::u16string>{u"Mail"}));
}

// --- refusals: a message, the same mode, the same file -----------------------------------------

struct Refusal {
    const char* name;
    std::u16string destination;
    std::u16string id;
    std::u16string password;
    std::u16string mail;
    std::u16string message;
};

const Refusal kEntryRefusals[] = {
    {"EmptyId", u"Mail", u"", u"pw", u"", u"記入漏れ"},
    {"QuoteInDestination", u"A\"B", u"id", u"pw", u"", u"登録先に「\"」は使えません。"},
    {"QuoteInId", u"Mail", u"i\"d", u"pw", u"", u"IDに「\"」は使えません。"},
    {"LineBreakInId", u"Mail", u"a\r\nb", u"pw", u"", u"IDに改行は使えません。"},
    {"LineBreakInDestination", u"A\nB", u"id", u"pw", u"", u"登録先に改行は使えません。"},
    {"OutsideShiftJisInDestination", u"顔\U0001F600", u"id", u"pw", u"",
     u"登録先に Shift_JIS にない文字（\U0001F600）が含まれています。"},
    {"OutsideShiftJisInId", u"Mail", u"café", u"pw", u"",
     u"IDに Shift_JIS にない文字（é）が含まれています。"},
    {"HeaderMarkAsDestination", u"hyoujimark", u"id", u"pw", u"", u"登録先に「hyoujimark」は使えません。"},
    {"SpaceInPassword", u"Mail", u"id", u"ab cd", u"",
     u"パスワードに使えない文字（空白）があります。利用可能文字のみ使えます。"},
    {"KanaInPassword", u"Mail", u"id", u"パス", u"",
     u"パスワードに使えない文字（パ）があります。利用可能文字のみ使えます。"},
    {"KanaInMail", u"Mail", u"id", u"pw", u"あ@b.jp",
     u"メールアドレスに使えない文字（あ）があります。利用可能文字と「@」のみ使えます。"},
    // What a paste may bring: invisible, full-width and look-alike characters.
    {"ZeroWidthSpaceInDestination", u"Ma\u200Bil", u"id", u"pw", u"",
     u"登録先に Shift_JIS にない文字（\u200B）が含まれています。"},
    {"DollarInPassword", u"Mail", u"id", u"pa$$", u"",
     u"パスワードに使えない文字（$）があります。利用可能文字のみ使えます。"},
    {"YenInPassword", u"Mail", u"id", u"100¥", u"",
     u"パスワードに使えない文字（¥）があります。利用可能文字のみ使えます。"},
    {"BackslashInPassword", u"Mail", u"id", u"a\\b", u"",
     u"パスワードに使えない文字（\\）があります。利用可能文字のみ使えます。"},
    {"FullWidthLettersInPassword", u"Mail", u"id", u"ＰＡＳＳ", u"",
     u"パスワードに使えない文字（Ｐ）があります。利用可能文字のみ使えます。"},
    {"FullWidthSpaceInPassword", u"Mail", u"id", u"pa\u3000ss", u"",
     u"パスワードに使えない文字（全角空白）があります。利用可能文字のみ使えます。"},
    {"PastedTabInPassword", u"Mail", u"id", u"pass\t", u"",
     u"パスワードに使えない文字（制御文字）があります。利用可能文字のみ使えます。"},
    {"EmojiInPassword", u"Mail", u"id", u"pw😀", u"",
     u"パスワードに使えない文字（😀）があります。利用可能文字のみ使えます。"},
    {"QuoteInMail", u"Mail", u"id", u"pw", u"a\"b@c.jp",
     u"メールアドレスに使えない文字（\"）があります。利用可能文字と「@」のみ使えます。"},
    {"FullWidthAtInMail", u"Mail", u"id", u"pw", u"a＠b.jp",
     u"メールアドレスに使えない文字（＠）があります。利用可能文字と「@」のみ使えます。"},
};

TEST_F(EntryTest, RegistrationRefusesWhatTheFileCannotHold)
{
    for (const auto& c : kEntryRefusals) {
        SCOPED_TRACE(c.name);
        d.registerEntry(c.destination, c.id, c.password, c.mail);
        EXPECT_EQ(d.window.Txtmassage.text(), c.message);
        EXPECT_EQ(d.file(), before);
        EXPECT_TRUE(d.inRegistrationMode());
    }
}

TEST_F(EntryTest, UpdateRefusesWhatTheFileCannotHold)
{
    for (const auto& c : kEntryRefusals) {
        SCOPED_TRACE(c.name);
        d.openEntry(u"Mail", u"taro");
        d.window.Txtnamae.setText(c.destination);
        d.window.Txtidbox.setText(c.id);
        d.window.Txtpassnew.setText(c.password);
        d.window.Txtbikouran.setText(c.mail);
        d.window.btnkousin_Click();
        EXPECT_EQ(d.window.Txtmassage.text(), c.message);
        EXPECT_EQ(d.file(), before);
        EXPECT_TRUE(d.inEditMode());
        d.window.btnmordori_Click();
    }
}

// --- the 99 rows of the file -------------------------------------------------------------------

// Where the rows are counted is held in tests/store/ChangeTest.cpp; here, what the window shows.
TEST(EntryLimitTest, AFullFileReadsBackWholeButTakesNoRowMore)
{
    WindowDriver d;
    std::string full = d.rowsFile({header(u"Mail", u"98")});
    for (int i = 1; i <= 98; ++i)
        full += d.rowsFile({entry(u"Mail", u"id" + store::decimalText(i), u"pw")});
    d.start(full);
    EXPECT_EQ(d.window.Txtmassage.text(), u"暗号化キーは、自動で 23 を設定しました。");

    d.registerEntry(u"Mail", u"id99", u"pw");
    EXPECT_EQ(d.window.Txtmassage.text(), u"登録件数が上限の 99 行に達しているため、登録できません。");
    EXPECT_EQ(d.file(), full);
    EXPECT_TRUE(d.inRegistrationMode());
}

// --- a write that fails ------------------------------------------------------------------------

class WriteFailureTest : public EntryTest, public ::testing::WithParamInterface<WriteStep> {};

TEST_P(WriteFailureTest, LeavesTheFileAsItWas)
{
    const std::u16string failed = u"psw.ini を書き込めません：" + writeErrorDescription(ENOSPC);
    d.services.files.failEveryWrite(GetParam(), ENOSPC);

    d.registerEntry(u"Mail", u"jiro", u"pw2");
    EXPECT_EQ(d.window.Txtmassage.text(), failed);
    EXPECT_TRUE(d.inRegistrationMode());
    EXPECT_EQ(d.file(), before);

    d.window.btnmordori_Click();
    d.openEntry(u"Mail", u"taro");
    d.window.Txtnamae.setText(u"Webmail");
    d.window.btnkousin_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), failed);
    EXPECT_TRUE(d.inEditMode());
    EXPECT_EQ(d.file(), before);
}

TEST_P(WriteFailureTest, ARegistrationTriedAgainCountsOnce)
{
    d.services.files.failWrite(1, GetParam());
    d.registerEntry(u"Mail", u"jiro", u"pw2");
    EXPECT_EQ(d.window.Txtmassage.text(), u"psw.ini を書き込めません：" + writeErrorDescription(EIO));
    EXPECT_EQ(d.file(), before);

    d.window.btnnew_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), u"登録完了Mailの jiro:pw2");
    EXPECT_EQ(d.file(),
              d.rowsFile({header(u"Mail", u"3"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                          entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                          entry(u"銀行", u"1234", u"pin0"), entry(u"Mail", u"jiro", u"pw2")}));
}

TEST_P(WriteFailureTest, ADeleteTriedAgainCountsOnce)
{
    d.services.files.failWrite(1, GetParam(), EACCES);
    d.openEntry(u"Mail", u"hanako");
    d.window.btndelete_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), u"psw.ini を書き込めません：" + writeErrorDescription(EACCES));
    EXPECT_EQ(d.file(), before);
    EXPECT_TRUE(d.inEditMode());

    d.window.btndelete_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), u"削除完了Mailの hanako:Xy9!");
    EXPECT_EQ(d.file(),
              d.rowsFile({header(u"Mail", u"1"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                          header(u"銀行", u"1"), entry(u"銀行", u"1234", u"pin0")}));
}

std::string stepName(const ::testing::TestParamInfo<WriteStep>& param)
{
    switch (param.param) {
    case WriteStep::Open:
        return "Open";
    case WriteStep::Write:
        return "Write";
    case WriteStep::Sync:
        return "Sync";
    case WriteStep::Rename:
        return "Rename";
    case WriteStep::SyncFolder:
        return "SyncFolder";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(EveryStep, WriteFailureTest,
                         ::testing::Values(WriteStep::Open, WriteStep::Write, WriteStep::Sync,
                                           WriteStep::Rename),
                         stepName);

} // namespace
} // namespace orvanta::test
