// A product ID that is there but cannot be read: start-up says so instead of showing the key, and
// バックアップ and ロード are refused while the key rests on the fallback.
#include "BackupMachine.h"
#include "host/Utf8.h"
#include "host/linux/imitate_windows/RegistryHive.h"

#include <sys/stat.h>

namespace orvanta::test {
namespace {

TEST(KeySourceTest, ADamagedKeySourceIsToldAtStartUpAndRefusesTheBackupAndTheLoad)
{
    TempDir floppy;
    Machine machine{u"55274-640-1234567-12", floppy.path()};
    const std::string data = dataFileOf(
        machine, {{u"hyoujimark", u"Yahoo", u" ", u"1", u" "}, {u"Yahoo", u"taro", u"abc", u" ", u""}});
    const std::string goodBackup =
        "\"hyoujimark\",\"Yahoo\",\"\",\"1\",\" \"\r\n\"Yahoo\",\"taro\",\"abc\",\" \",\"\"\r\n";
    floppy.write("psw.bkp", goodBackup);

    machine.s.registry.setProblem(host::RegistryProblem{u"/home/u/.config/orvanta/registry.reg",
                                                        u"registry.reg の 3 行目が壊れています。"});
    machine.start(data);
    EXPECT_EQ(machine.window.Txtmassage.text(),
              u"仮キー 12（製品ID不明）。registry.reg の 3 行目が壊れています。");
    EXPECT_EQ(machine.window.cmbnamae.items, std::vector<std::u16string>{u"Yahoo"});

    // Under the temporary key a backup would hold wrongly decoded passwords, and a load would store
    // every password with a key that is not the machine's.
    machine.s.windowsDir.write("psw.ini.bak", "kept from the load before");
    const struct {
        const char* button;
        void (form::MainWindow::*click)();
        std::u16string message;
    } refusals[] = {
        {"バックアップ", &form::MainWindow::btnunload_Click,
         u"製品IDを読み取れないため、バックアップを中止しました（psw.bkp は元のままです）。"},
        {"ロード", &form::MainWindow::btnload_Click,
         u"製品IDを読み取れないため、ロードを中止しました（psw.ini は元のままです）。"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.button);
        (machine.window.*r.click)();
        EXPECT_EQ(machine.window.Txtmassage.text(), r.message);
        EXPECT_EQ(floppy.read("psw.bkp"), goodBackup);
        EXPECT_EQ(machine.dataFile(), data);
        EXPECT_EQ(machine.s.windowsDir.read("psw.ini.bak"), "kept from the load before");
        EXPECT_EQ(filesIn(floppy.path()), std::set<std::string>{"psw.bkp"});
        EXPECT_EQ(filesIn(machine.s.windowsDir.path()), (std::set<std::string>{"psw.ini", "psw.ini.bak"}));
    }

    // Once the hive reads again, so does the key, and the backup and the load go through.
    machine.s.registry.setProblem(std::nullopt);
    machine.window.Form_Load();
    EXPECT_EQ(machine.window.Txtmassage.text(), u"暗号化キーは、自動で 12 を設定しました。");
    machine.window.btnunload_Click();
    EXPECT_TRUE(machine.window.Txtmassage.text().starts_with(u"退避＆一覧書出し完了"));
    machine.window.btnload_Click();
    EXPECT_EQ(machine.window.Txtmassage.text(), u"ＬＯＡＤ完了");
}

TEST(KeySourceTest, APipeInPlaceOfTheHiveIsToldWithoutWaiting)
{
    TempDir folder;
    ASSERT_EQ(::mkfifo(folder.file("registry.reg").c_str(), 0600), 0);
    host::RegistryHive hive(folder.file("registry.reg"), "");
    TestServices s;
    form::MainWindow window(host::Services{hive, s.env, s.files, s.codePage, s.clipboard, s.clock, s.random,
                                           s.help, s.drives, s.timer});
    window.Form_Load();
    // Without the hive's value and without a machine identifier, the fixed key is the fallback.
    EXPECT_EQ(window.Txtmassage.text(),
              u"仮キー 00（製品ID不明）。registry.reg：通常のファイルではありません（名前付きパイプ）。");
}

} // namespace
} // namespace orvanta::test
