// バックアップ: what lands on the floppy disk, and what happens when it cannot.
#include "BackupMachine.h"

#include <cerrno>

namespace orvanta::test {
namespace {

const std::string kGinko = "\x8b\xe2\x8d\x73"; // 銀行 in Shift_JIS

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mail = machine.window.encodeText(u"taro@ex.jp");
        original = dataFileOf(machine, {
                                           {u"hyoujimark", u"銀行", u" ", u"1", u" "},
                                           {u"銀行", u"taro", u"Pass1!", u" ", mail},
                                           {u"hyoujimark", u"Yahoo", u" ", u"2", u" "},
                                           {u"Yahoo", u"hanako", u"abc123", u" ", u""},
                                           {u"Yahoo", u"jiro", u"X-9/z", u" ", u" "},
                                       });
        machine.start(original);
        // What the user was looking at, to see whether the window was reset.
        machine.window.Lstidbox.addItem(u"taro");
        machine.window.Lblpassword.setText(u"Pass1!");
    }

    /// psw.bkp as it must come out of the data file above.
    std::string expectedBackup() const
    {
        return "\"hyoujimark\",\"" + kGinko + "\",\"\",\"1\",\" \"\r\n" + //
               "\"" + kGinko + "\",\"taro\",\"Pass1!\",\" \",\"" + sjis(mail) + "\"\r\n" +
               "\"hyoujimark\",\"Yahoo\",\"\",\"2\",\" \"\r\n" +  //
               "\"Yahoo\",\"hanako\",\"abc123\",\" \",\"\"\r\n" + //
               "\"Yahoo\",\"jiro\",\"X-9/z\",\" \",\" \"\r\n";
    }

    /// The list as it must come out: the heading, then the entries only.
    std::string expectedList() const
    {
        return std::string("\"\x93\x6f\x98\x5e\x96\xbc\x8f\xcc\",") +                    // 登録名称
               "\"\x82\x68\x82\x63\"," +                                                 // ＩＤ
               "\"\x82\x6f\x82\x60\x82\x72\x82\x72\x82\x76\x82\x6e\x82\x71\x82\x63\"," + // ＰＡＳＳＷＯＲＤ
               "\"\"\r\n" +                                                              //
               "\"" + kGinko + "\",\"taro\",\"Pass1!\",\" \",\"" + sjis(mail) + "\"\r\n" +
               "\"Yahoo\",\"hanako\",\"abc123\",\" \",\"\"\r\n" + //
               "\"Yahoo\",\"jiro\",\"X-9/z\",\" \",\" \"\r\n";
    }

    void expectWindowUntouched()
    {
        EXPECT_EQ(machine.window.Lstidbox.items, std::vector<std::u16string>{u"taro"});
        EXPECT_EQ(machine.window.Lblpassword.text(), u"Pass1!");
        // The record array keeps the stored passwords, never the plain ones.
        EXPECT_EQ(machine.window.records[2].password, machine.window.encodeText(u"Pass1!"));
        EXPECT_EQ(machine.window.records[4].password, machine.window.encodeText(u"abc123"));
    }

    TempDir floppy;
    Machine machine{u"55274-640-1234567-12", floppy.path()};
    std::u16string mail;
    std::string original;
};

TEST_F(BackupTest, WritesEveryRowWithItsPlainPasswordToTheFloppyDisk)
{
    machine.window.btnunload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(), u"退避＆一覧書出し完了：" + host::fromUtf8(floppy.file("")));
    EXPECT_EQ(floppy.read("psw.bkp"), expectedBackup());
    EXPECT_EQ(permissions(floppy.file("psw.bkp")), 0600U);
    EXPECT_EQ(machine.dataFile(), original);
}

TEST_F(BackupTest, WritesTheDatedListOfTheEntries)
{
    machine.window.btnunload_Click();

    EXPECT_EQ(filesIn(floppy.path()), (std::set<std::string>{"psw.bkp", "20260203090507_psw.csv"}));
    EXPECT_EQ(floppy.read("20260203090507_psw.csv"), expectedList());
    EXPECT_EQ(permissions(floppy.file("20260203090507_psw.csv")), 0600U);
}

TEST_F(BackupTest, ReloadsTheWindowAfterwards)
{
    machine.window.btnunload_Click();

    EXPECT_TRUE(machine.window.Lstidbox.items.empty());
    EXPECT_EQ(machine.window.Lblpassword.text(), u"");
    EXPECT_EQ(machine.window.Lblbikouran.text(), u" ");
    EXPECT_EQ(machine.window.cmbnamae.items, (std::vector<std::u16string>{u"銀行", u"Yahoo"}));
    EXPECT_EQ(machine.window.inputkensu, 5);
    EXPECT_EQ(machine.window.records[2].password, machine.window.encodeText(u"Pass1!"));
}

TEST_F(BackupTest, NamesTheListByTheTimeWithEveryPartZeroPadded)
{
    const struct {
        host::LocalTime time;
        const char* name;
    } cases[] = {
        {{2026, 2, 3, 9, 5, 7}, "20260203090507_psw.csv"},
        {{2026, 12, 31, 23, 59, 59}, "20261231235959_psw.csv"},
        {{2027, 1, 1, 0, 0, 0}, "20270101000000_psw.csv"},
    };
    for (const auto& c : cases) {
        machine.s.clock.set(c.time);
        machine.window.btnunload_Click();
        EXPECT_EQ(floppy.read(c.name), expectedList()) << c.name;
    }
    EXPECT_EQ(filesIn(floppy.path()).size(), 1 + std::size(cases));
}

TEST_F(BackupTest, ReplacesAnEarlierBackup)
{
    floppy.write("psw.bkp", "\"hyoujimark\",\"old\",\"\",\"0\",\" \"\r\n");
    machine.window.btnunload_Click();
    EXPECT_EQ(floppy.read("psw.bkp"), expectedBackup());
}

TEST_F(BackupTest, UsesTheFirstOfTwoFloppyDrives)
{
    TempDir second;
    machine.s.drives.setDrive('B', second.path(), host::DRIVE_REMOVABLE, u"3.5 インチ FD (B:)");
    machine.window.btnunload_Click();
    EXPECT_EQ(floppy.read("psw.bkp"), expectedBackup());
    EXPECT_TRUE(filesIn(second.path()).empty());
}

TEST_F(BackupTest, WritesToTheCurrentDriveRootWithoutAFloppyDrive)
{
    machine.s.drives.removeDrive('A');
    // A card reader without a card.
    machine.s.drives.setDrive('E', floppy.path(), host::DRIVE_REMOVABLE, u"リムーバブル ディスク (E:)");
    machine.s.drives.setMedium('E', false);
    machine.window.btnunload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(),
              u"退避＆一覧書出し完了：" + host::fromUtf8(machine.s.rootDir.file("")));
    EXPECT_EQ(machine.s.rootDir.read("psw.bkp"), expectedBackup());
    EXPECT_EQ(machine.s.rootDir.read("20260203090507_psw.csv"), expectedList());
    EXPECT_TRUE(filesIn(floppy.path()).empty());
}

TEST_F(BackupTest, RefusesWithoutADataFile)
{
    std::filesystem::remove(machine.s.dataFile("psw.ini"));
    machine.window.btnunload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(), machine.dataFilePath() + u"：ファイルが見つかりません。");
    EXPECT_TRUE(filesIn(floppy.path()).empty());
}

TEST_F(BackupTest, RefusesADataFileThatDoesNotReadCleanly)
{
    const std::string oldBackup = "\"hyoujimark\",\"old\",\"\",\"0\",\" \"\r\n";
    floppy.write("psw.bkp", oldBackup);
    const auto broken = original + "\"Yahoo\",\"saburo\",\"abc\",\" \",\" \",\"sixth\"\r\n";
    machine.s.windowsDir.write("psw.ini", broken);

    machine.window.btnunload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(),
              u"バックアップを中止しました（psw.bkp は元のままです）。psw.ini の 6 "
              u"行目が５項目ではありません。読めた行のみ表示し、書き換えません。");
    EXPECT_EQ(floppy.read("psw.bkp"), oldBackup);
    EXPECT_EQ(filesIn(floppy.path()), std::set<std::string>{"psw.bkp"});
    EXPECT_EQ(machine.dataFile(), broken);
}

TEST_F(BackupTest, RefusesADataFileThatCannotBeRead)
{
    machine.s.files.failReads(EIO);
    machine.window.btnunload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(),
              u"バックアップを中止しました（psw.bkp は元のままです）。データファイル psw.ini "
              u"を読めません：デバイスの I/O エラーです。");
    EXPECT_TRUE(filesIn(floppy.path()).empty());
}

const WriteStep kSteps[] = {WriteStep::Open, WriteStep::Write, WriteStep::Sync, WriteStep::Rename};

TEST_F(BackupTest, AFailedBackupLeavesTheEarlierOneAsItWas)
{
    const std::string oldBackup = "\"hyoujimark\",\"old\",\"\",\"0\",\" \"\r\n";
    for (const auto step : kSteps) {
        SCOPED_TRACE(static_cast<int>(step));
        floppy.write("psw.bkp", oldBackup);
        machine.s.files.failWrite(1, step, EROFS);

        machine.window.btnunload_Click();

        EXPECT_EQ(machine.window.Txtmassage.text(), u"ディスクは書き込み禁止になっています。");
        EXPECT_EQ(floppy.read("psw.bkp"), oldBackup);
        EXPECT_EQ(filesIn(floppy.path()), std::set<std::string>{"psw.bkp"});
        EXPECT_EQ(machine.dataFile(), original);
        expectWindowUntouched();
    }
}

TEST_F(BackupTest, ARootThatCannotBeWrittenIsNamedAndAStickAskedFor)
{
    machine.s.drives.removeDrive('A');
    machine.s.files.failWrite(1, WriteStep::Open, EACCES);

    machine.window.btnunload_Click();

    EXPECT_EQ(machine.window.Txtmassage.text(),
              host::fromUtf8(machine.s.rootDir.file("")) + u" に書けません。USB メモリなどを差して下さい。");
    EXPECT_EQ(machine.s.rootDir.read("psw.bkp"), "");
    expectWindowUntouched();
}

TEST_F(BackupTest, AFailedListSaysThatTheBackupItselfIsDone)
{
    for (const auto step : kSteps) {
        SCOPED_TRACE(static_cast<int>(step));
        std::filesystem::remove(floppy.file("psw.bkp"));
        machine.s.files.failWrite(2, step, ENOSPC);

        machine.window.btnunload_Click();

        EXPECT_EQ(machine.window.Txtmassage.text(),
                  u"ディスクの空き容量が不足しています。（psw.bkp は退避済み）");
        EXPECT_EQ(floppy.read("psw.bkp"), expectedBackup());
        EXPECT_EQ(filesIn(floppy.path()), std::set<std::string>{"psw.bkp"});
        expectWindowUntouched();
    }
}

} // namespace
} // namespace orvanta::test
