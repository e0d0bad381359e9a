// ロード: psw.bkp back into psw.ini, and every way a load is refused without touching psw.ini.
#include "BackupMachine.h"
#include "host/Utf8.h"
#include "rules/cipher/StoredForm.h"

#include <cerrno>

namespace orvanta::test {
namespace {

/// The rows of the data file every test starts from; the mail field is filled in per machine.
std::vector<PlainRow> sampleRows(std::u16string mail, std::u16string headerPassword = u" ",
                                 std::u16string jiroMail = u" ")
{
    return {
        {u"hyoujimark", u"銀行", headerPassword, u"1", u" "},
        {u"銀行", u"taro", u"Pass1!", u" ", std::move(mail)},
        {u"hyoujimark", u"Yahoo", headerPassword, u"2", u" "},
        {u"Yahoo", u"hanako", u"abc123", u" ", u""},
        {u"Yahoo", u"jiro", u"X-9/z", u" ", std::move(jiroMail)},
    };
}

class RestoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mail = machine.window.encodeText(u"taro@ex.jp");
        original = dataFileOf(machine, sampleRows(mail));
        machine.start(original);
    }

    /// A data file other than the one backed up, as the window shows it before the load.
    void startWithOtherData()
    {
        other = dataFileOf(machine, {{u"hyoujimark", u"Other", u" ", u"1", u" "},
                                     {u"Other", u"someone", u"zzz", u" ", u" "}});
        machine.start(other);
        machine.window.Lstidbox.addItem(u"someone");
        machine.window.Lblpassword.setText(u"zzz");
    }

    void expectNothingChanged(const std::u16string& message, std::set<std::string> names = {"psw.ini"})
    {
        EXPECT_EQ(machine.window.Txtmassage.text(), message);
        EXPECT_EQ(machine.dataFile(), other);
        EXPECT_EQ(filesIn(machine.s.windowsDir.path()), names);
        EXPECT_EQ(machine.window.inputkensu, 2);
        EXPECT_EQ(machine.window.cmbnamae.items, std::vector<std::u16string>{u"Other"});
        EXPECT_EQ(machine.window.Lstidbox.items, std::vector<std::u16string>{u"someone"});
        EXPECT_EQ(machine.window.Lblpassword.text(), u"zzz");
        EXPECT_EQ(machine.window.records[2].password, machine.window.encodeText(u"zzz"));
    }

    TempDir floppy;
    Machine machine{u"55274-640-1234567-12", floppy.path()};
    std::u16string mail;
    std::string original;
    std::string other;
};

TEST_F(RestoreTest, BackupThenLoadGivesBackTheDataFile)
{
    machine.window.btnunload_Click();
    ASSERT_TRUE(machine.window.Txtmassage.text().starts_with(u"退避＆一覧書出し完了"));
    startWithOtherData();

    machine.window.btnload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
    // The only difference: a header row's password is empty rather than a space.
    EXPECT_EQ(machine.dataFile(), dataFileOf(machine, sampleRows(mail, u"")));
    EXPECT_EQ(machine.window.inputkensu, 5);
    EXPECT_EQ(machine.window.cmbnamae.items, (std::vector<std::u16string>{u"銀行", u"Yahoo"}));
    EXPECT_TRUE(machine.window.Lstidbox.items.empty());
    EXPECT_EQ(machine.window.Lblpassword.text(), u"");
    EXPECT_EQ(machine.window.Lblbikouran.text(), u" ");
    EXPECT_EQ(machine.window.decodeText(machine.window.records[2].password), u"Pass1!");
}

// The addresses are stored with the second machine's key only when two or more different ones with
// common endings, and nothing else, tell the first machine's key; otherwise every field loads as it is.
TEST_F(RestoreTest, AnotherMachineStoresThePasswordsWithItsOwnKeyAndTheAddressesWhenTheyTellTheOldKey)
{
    Machine second{u"55274-640-7654321-34", floppy.path()};
    ASSERT_NE(second.window.encodeText(u"Pass1!"), machine.window.encodeText(u"Pass1!"))
        << "the keys must differ";
    const struct {
        const char* title;
        std::u16string jiro; ///< jiro's mail as typed, beside taro@ex.jp
        bool rekeyed;
    } cases[] = {
        {"one address", u" ", false},
        {"two addresses", u"jiro@mail.co.jp", true},
        {"an address and a note", u"jiro.memo", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const auto jiro = c.jiro == u" " ? c.jiro : machine.window.encodeText(c.jiro);
        machine.start(dataFileOf(machine, sampleRows(mail, u" ", jiro)));
        machine.window.btnunload_Click();
        second.start(dataFileOf(second, {{u"hyoujimark", u"Other", u" ", u"0", u" "}}));

        second.window.btnload_Click();

        const auto expected = c.rekeyed ? sampleRows(second.window.encodeText(u"taro@ex.jp"), u"",
                                                     second.window.encodeText(c.jiro))
                                        : sampleRows(mail, u"", jiro);
        EXPECT_EQ(second.window.Txtmassage.text(),
                  c.rekeyed ? u"ＬＯＡＤ完了　メールアドレスを暗号化キー 12 から引き継ぎました。"
                            : u"ＬＯＡＤ完了");
        EXPECT_EQ(second.dataFile(), dataFileOf(second, expected));
        EXPECT_EQ(second.window.decodeText(second.window.records[5].password), u"X-9/z");
    }
}

// What the address box holds may be a note: a round trip on the machine that wrote the backup gives
// it back, whatever it reads as with another key.
TEST(RestoreNotesTest, BackupThenLoadOnTheSameMachineGivesBackEveryNote)
{
    TempDir floppy;
    Machine machine{u"55274-640-1234567-45", floppy.path()};
    const auto key7 = cipher::codeTableFor(7);
    const struct {
        const char* title;
        std::u16string taro, jiro; ///< stored
        bool dataFileGone;
    } cases[] = {
        {"a note", machine.window.encodeText(u"taro.yamada"), u" ", false},
        {"a note, psw.ini gone", machine.window.encodeText(u"taro.yamada"), u" ", true},
        // Typed here, these read as addresses with key 07; psw.ini tells that they were made here.
        {"notes that read as addresses", cipher::encode(key7, u"taro@ex.jp"),
         cipher::encode(key7, u"jiro@mail.co.jp"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        machine.start(dataFileOf(machine, sampleRows(c.taro, u" ", c.jiro)));
        machine.window.btnunload_Click();
        if (c.dataFileGone) {
            std::filesystem::remove(machine.s.dataFile("psw.ini"));
            machine.window.Form_Load();
        }

        machine.window.btnload_Click();

        EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
        EXPECT_EQ(machine.dataFile(), dataFileOf(machine, sampleRows(c.taro, u"", c.jiro)));
    }
}

// A new machine, or one whose psw.ini was lost or moved aside after it could not be read: the load
// writes psw.ini and keeps no psw.ini.bak, as there was nothing to keep.
TEST_F(RestoreTest, LoadsWhereThereIsNoDataFile)
{
    machine.window.btnunload_Click();
    for (const bool unreadableFirst : {false, true}) {
        std::filesystem::remove(machine.s.dataFile("psw.ini"));
        if (unreadableFirst)
            std::filesystem::create_symlink(machine.s.dataFile("gone/psw.ini"),
                                            machine.s.dataFile("psw.ini"));
        machine.window.Form_Load();
        std::filesystem::remove(machine.s.dataFile("psw.ini"));

        machine.window.btnload_Click();

        EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
        EXPECT_EQ(machine.dataFile(), dataFileOf(machine, sampleRows(mail, u"")));
        EXPECT_EQ(filesIn(machine.s.windowsDir.path()), std::set<std::string>{"psw.ini"});
    }
}

TEST_F(RestoreTest, RepairsADataFileThatDidNotReadCleanly)
{
    machine.window.btnunload_Click();
    machine.start(original + "\"Yahoo\",\"ta\"ro\",\"abc\",\" \",\" \"\r\n");
    ASSERT_FALSE(machine.window.dataFileSound());

    machine.window.btnload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
    EXPECT_TRUE(machine.window.dataFileSound());
    EXPECT_EQ(machine.dataFile(), dataFileOf(machine, sampleRows(mail, u"")));
}

TEST_F(RestoreTest, LoadsFromTheCurrentDriveRootWithoutAFloppyDrive)
{
    machine.s.drives.removeDrive('A');
    machine.window.btnunload_Click();
    ASSERT_TRUE(filesIn(floppy.path()).empty());
    startWithOtherData();

    machine.window.btnload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
    EXPECT_EQ(machine.dataFile(), dataFileOf(machine, sampleRows(mail, u"")));
}

std::string entryLines(int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "\"Yahoo\",\"id" + std::to_string(i) + "\",\"abc\",\" \",\" \"\r\n";
    return lines;
}

TEST_F(RestoreTest, LoadsAFullBackupOfNinetyNineRows)
{
    floppy.write("psw.bkp", "\"hyoujimark\",\"Yahoo\",\"\",\"98\",\" \"\r\n" + entryLines(98));
    machine.window.btnload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
    EXPECT_EQ(machine.window.inputkensu, 99);
    EXPECT_EQ(machine.window.decodeText(machine.window.records[99].password), u"abc");
}

struct Refusal {
    const char* title;
    std::string backup;     ///< the bytes of psw.bkp
    std::u16string message; ///< "@" stands for psw.bkp's path
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.title;
}

const std::vector<Refusal> kRefusals{
    {"six fields",
     "\"hyoujimark\",\"Yahoo\",\"\",\"1\",\" \"\r\n\"Yahoo\",\"taro\",\"abc\",\" \",\" \",\"x\"\r\n",
     u"ロード中止：psw.bkp の 2 行目が５項目ではありません。"},
    {"four fields", "\"Yahoo\",\"taro\",\"abc\",\" \"\r\n",
     u"ロード中止：psw.bkp の 1 行目が５項目ではありません。"},
    {"a stray double quote",
     "\"hyoujimark\",\"Yahoo\",\"\",\"1\",\" \"\r\n\"Yahoo\",\"ta\"ro\",\"abc\",\" \",\" \"\r\n",
     u"ロード中止：psw.bkp の 2 行目が５項目ではありません。"},
    {"one hundred rows", entryLines(100), u"ロード中止：psw.bkp が上限の 99 行を超えています。"},
    {"bytes that are no Shift_JIS",
     "\"Yahoo\",\"taro\",\"abc\",\" \",\" \"\r\n\"Yahoo\",\"\x82\x20\",\"abc\",\" \",\" \"\r\n",
     u"ロード中止：psw.bkp の 2 行目が Shift_JIS ではありません。"},
    {"a UTF-8 file", "\xEF\xBB\xBF\"Yahoo\",\"\xE5\xA4\xAA\xE9\x83\x8E\",\"abc\",\" \",\" \"\r\n",
     u"ロード中止：psw.bkp が Shift_JIS ではなく UTF-8 です。"},
    {"a space in a password",
     "\"hyoujimark\",\"Yahoo\",\"\",\"1\",\" \"\r\n\"Yahoo\",\"taro\",\"ab c\",\" \",\" \"\r\n",
     u"ロード中止：Yahooの taro のパスワードに空白があります。"},
    {"a kana in a password", "\"Yahoo\",\"taro\",\"ab\x82\xa0\",\" \",\" \"\r\n",
     u"ロード中止：Yahooの taro のパスワードに「あ」があります。"},
    // 0x5C, shown as a yen sign on Japanese Windows.
    {"a yen sign", "\"Yahoo\",\"taro\",\"\\100\",\" \",\"\"\r\n",
     u"ロード中止：Yahooの taro のパスワードに「\\」があります。"},
    {"a character without a code", "\"Yahoo\",\"taro\",\"a?b\",\" \",\" \"\r\n",
     u"ロード中止：Yahooの taro のパスワードに「?」があります。"},
    // Read while it is still being copied in place, or emptied: loading it would wipe every entry.
    {"an empty backup", "", u"ロード中止：psw.bkp に登録が１件もありません。"},
    {"blank lines only", "\r\n  \r\n\n", u"ロード中止：psw.bkp に登録が１件もありません。"},
};

class RestoreRefusalTest : public RestoreTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RestoreRefusalTest, LeavesTheDataFileAndTheWindowAsTheyWere)
{
    startWithOtherData();
    floppy.write("psw.bkp", GetParam().backup);
    machine.window.btnload_Click();
    expectNothingChanged(GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Backups, RestoreRefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& test) { return testName(test.param.title); });

// Backups an older version wrote or the user edited load as they are (the passwords stored with this
// machine's key), and psw.ini.bak keeps the file each load replaced, with its permissions.
TEST_F(RestoreTest, LoadsEveryBackupWhoseRowsReadAndKeepsTheReplacedFile)
{
    const std::vector<PlainRow> twoHeaders{{u"hyoujimark", u"B", u"", u"1", u" "},
                                           {u"B", u"x", u"px", u" ", u" "},
                                           {u"hyoujimark", u"B", u"", u"1", u" "},
                                           {u"B", u"y", u"py", u" ", u""}};
    const std::vector<PlainRow> backups[] = {
        twoHeaders,
        {{u"hyoujimark", u"Y", u"", u"3", u" "}, {u"Y", u"t", u"a", u" ", u" "}}, // count off
        {{u"hyoujimark", u"Y", u"", u"2", u" "},
         {u"Y", u"t", u"a", u" ", u" "},
         {u"Y", u"t", u"b", u" ", u""}},  // pair twice
        {{u"Y", u"t", u"a", u" ", u" "}}, // no header
        {},                               // empty, over an empty data file
    };
    ASSERT_EQ(::chmod(machine.s.dataFile("psw.ini").c_str(), 0640), 0);
    for (const auto& rows : backups) {
        SCOPED_TRACE(rows.size());
        std::u16string plain;
        for (const auto& r : rows)
            plain += u"\"" + r.owner + u"\",\"" + r.name + u"\",\"" + r.password + u"\",\"" + r.count +
                     u"\",\"" + r.mail + u"\"\r\n";
        floppy.write("psw.bkp", sjis(plain));
        const auto replaced = rows.empty() ? std::string() : original;
        machine.start(replaced);
        // psw.ini.bak is the program's own: a read-only one left from before is replaced all the same.
        ::chmod(machine.s.dataFile("psw.ini.bak").c_str(), 0400);
        machine.window.btnload_Click();
        EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
        EXPECT_EQ(machine.dataFile(), dataFileOf(machine, rows));
        EXPECT_EQ(machine.s.windowsDir.read("psw.ini.bak"), replaced);
        EXPECT_EQ(permissions(machine.s.dataFile("psw.ini.bak")), 0640U);
    }
    // A destination listed twice shows both its IDs under either.
    machine.start(dataFileOf(machine, twoHeaders));
    EXPECT_EQ(machine.window.cmbnamae.items, (std::vector<std::u16string>{u"B", u"B"}));
    machine.window.cmbnamae.listIndex = 1;
    machine.window.cmbnamae_Click();
    EXPECT_EQ(machine.window.Lstidbox.items, (std::vector<std::u16string>{u"x", u"y"}));
}

TEST_F(RestoreTest, RefusesWithoutABackup)
{
    startWithOtherData();
    machine.window.btnload_Click();
    expectNothingChanged(u"ファイルが見つかりません。");
}

TEST_F(RestoreTest, RefusesABackupThatCannotBeRead)
{
    machine.window.btnunload_Click();
    startWithOtherData();
    machine.s.files.failReads(EIO);
    machine.window.btnload_Click();
    machine.s.files.heal();
    expectNothingChanged(u"デバイスの I/O エラーです。");
}

TEST_F(RestoreTest, AFailedWriteAtAnyStepLeavesTheDataFileAsItWas)
{
    machine.window.btnunload_Click();
    startWithOtherData();
    const struct {
        WriteStep step;
        int error;
        std::u16string_view description;
    } cases[] = {
        {WriteStep::Open, EACCES, u"アクセスが拒否されました。"},
        {WriteStep::Write, ENOSPC, u"ディスクの空き容量が不足しています。"},
        {WriteStep::Sync, EIO, u"デバイスの I/O エラーです。"},
        {WriteStep::Rename, EROFS, u"ディスクは書き込み禁止になっています。"},
    };
    // The first write keeps psw.ini as psw.ini.bak, the second replaces psw.ini.
    for (const int write : {1, 2}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(static_cast<int>(c.step) + 10 * write);
            machine.s.files.failWrite(write, c.step, c.error);
            machine.window.btnload_Click();
            if (write == 1) {
                expectNothingChanged(u"ロード中止（psw.ini.bak）：" + std::u16string(c.description));
            } else {
                expectNothingChanged(u"ロード中止（psw.ini）：" + std::u16string(c.description),
                                     {"psw.ini", "psw.ini.bak"});
                EXPECT_EQ(machine.s.windowsDir.read("psw.ini.bak"), other);
            }
        }
    }
    machine.s.files.heal();
    machine.window.btnload_Click();
    EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
    EXPECT_EQ(machine.s.windowsDir.read("psw.ini.bak"), other);
}

} // namespace
} // namespace orvanta::test
