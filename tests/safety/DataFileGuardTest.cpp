// psw.ini and psw.bkp when they are not what they seem, or when someone else changes psw.ini while
// the window is open: every refusal says why in the message box and leaves the file as it was, and
// two windows over one folder never lose each other's changes.
#include "host/FileSystem.h"
#include "host/Utf8.h"
#include "rules/backup/Messages.h"
#include "support/WindowDriver.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orvanta::test {
namespace {

namespace fs = std::filesystem;

/// What stands at a path, told in enough detail to see any change: its kind, a link's target, a
/// file's size and bytes.
std::string whatStandsAt(const std::string& path)
{
    const auto status = fs::symlink_status(path);
    if (fs::is_symlink(status))
        return "link to " + fs::read_symlink(path).string();
    if (fs::is_fifo(status))
        return "pipe";
    if (!fs::is_regular_file(status))
        return "nothing";
    const auto size = fs::file_size(path);
    if (size > host::kMaxFileSize)
        return "large file of " + std::to_string(size) + " bytes";
    struct stat mode {};
    stat(path.c_str(), &mode);
    std::ifstream in(path, std::ios::binary);
    return "file " + std::to_string(mode.st_mode & 07777) + ": " +
           std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::u16string kMoveAside(backup::kMoveAside);
const std::u16string kNotRead = u"psw.ini が正しく読めなかったため、書き換えを中止しました。";

struct Refusal {
    const char* name;
    /// Which file the case makes odd: "psw.ini" in Windir, or "psw.bkp" on the current drive.
    bool backupFile;
    /// What the user does first, before the file turns odd (nothing when empty).
    std::function<void(WindowDriver& d)> prepare;
    /// Makes the file odd, given its host path and the window's folders.
    std::function<void(const std::string& path, WindowDriver& d)> make;
    /// What start-up says over it (empty: start-up says nothing of it).
    std::u16string atStart;
    /// What the user does next.
    std::function<void(WindowDriver& d)> act;
    /// What the window says then; a leading "@" stands for the path of psw.ini, "%" for psw.bkp's.
    std::u16string message;
};

void makePipe(const std::string& path, WindowDriver&)
{
    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
}

void makeDeviceLink(const std::string& path, WindowDriver&)
{
    fs::remove(path);
    fs::create_symlink("/dev/zero", path);
}

void makeDanglingLink(const std::string& path, WindowDriver& d)
{
    fs::remove(path);
    fs::create_symlink(d.services.programDir.file("unplugged/psw.ini"), path);
}

void makeLarge(const std::string& path, WindowDriver&)
{
    fs::resize_file(path, host::kMaxFileSize + 1);
}

void makeReadOnly(const std::string& path, WindowDriver&)
{
    ASSERT_EQ(chmod(path.c_str(), 0400), 0);
}

/// Another program writes psw.ini after the window read it.
void changeBehindTheWindow(const std::string&, WindowDriver& d)
{
    d.services.windowsDir.write("psw.ini",
                                d.rowsFile({header(u"手書き", u"1"), entry(u"手書き", u"me", u"hand1")}));
}

void registerOne(WindowDriver& d)
{
    d.registerEntry(u"Mail", u"jiro", u"pw2");
}

void deleteOne(WindowDriver& d)
{
    d.openEntry(u"Mail", u"hanako");
    d.window.btndelete_Click();
}

void openHanako(WindowDriver& d)
{
    d.openEntry(u"Mail", u"hanako");
    d.window.Txtpassnew.setText(u"new!1");
}

void pressDelete(WindowDriver& d)
{
    d.window.btndelete_Click();
}

void pressUpdate(WindowDriver& d)
{
    d.window.btnkousin_Click();
}

void load(WindowDriver& d)
{
    d.window.btnload_Click();
}

void backUp(WindowDriver& d)
{
    d.window.btnunload_Click();
}

/// The refusals of a psw.ini that is not a plain file the program may read and write, or that another
/// program changed behind the window.
std::vector<Refusal> dataFileRefusals()
{
    return {
        {"DataFileIsAPipe",
         false,
         {},
         makePipe,
         u"データファイル psw.ini を読めません：通常のファイルではありません（名前付きパイプ）。",
         registerOne,
         kNotRead},
        {"DataFileIsADevice",
         false,
         {},
         makeDeviceLink,
         u"データファイル psw.ini を読めません：通常のファイルではありません（デバイス）。",
         registerOne,
         kNotRead},
        {"DataFileIsTooLarge",
         false,
         {},
         makeLarge,
         u"データファイル psw.ini を読めません：ファイルが大きすぎます（4 MiB まで）。",
         registerOne,
         kNotRead},
        {"DataFileLinksToNothing",
         false,
         {},
         makeDanglingLink,
         u"データファイル psw.ini を読めません：リンク先のファイルがありません。",
         registerOne,
         kNotRead},
        {"DataFileLinksToNothingOnLoad",
         false,
         {},
         makeDanglingLink,
         u"データファイル psw.ini を読めません：リンク先のファイルがありません。",
         load,
         u"psw.ini：リンク先のファイルがありません。" + kMoveAside},
        {"DataFileIsAPipeOnLoad",
         false,
         {},
         makePipe,
         u"データファイル psw.ini を読めません：通常のファイルではありません（名前付きパイプ）。",
         load,
         u"psw.ini：通常のファイルではありません（名前付きパイプ）。" + kMoveAside},
        {"DataFileIsReadOnly",
         false,
         {},
         makeReadOnly,
         u"",
         deleteOne,
         u"psw.ini を書き込めません：読み取り専用のファイルです。"},
        {"DataFileChangedOnRegister",
         false,
         {},
         changeBehindTheWindow,
         u"",
         registerOne,
         u"psw.ini が他で変更されたため書き換えを中止し、読み直しました。再度操作して下さい。"},
        {"DataFileChangedOnDelete", false, openHanako, changeBehindTheWindow, u"", pressDelete,
         u"psw.ini が他で変更されたため書き換えを中止し、読み直しました。再度操作して下さい。"},
        {"DataFileChangedOnUpdate", false, openHanako, changeBehindTheWindow, u"", pressUpdate,
         u"psw.ini が他で変更されたため書き換えを中止し、読み直しました。再度操作して下さい。"},
        {"DataFileChangedOnLoad",
         false,
         {},
         changeBehindTheWindow,
         u"",
         load,
         u"psw.ini が他で変更されたためロードを中止し、読み直しました。再度操作して下さい。"},
        {"DataFileIsTooLargeOnLoad",
         false,
         {},
         makeLarge,
         u"データファイル psw.ini を読めません：ファイルが大きすぎます（4 MiB まで）。",
         load,
         u"psw.ini：ファイルが大きすぎます（4 MiB まで）。" + kMoveAside},
    };
}

/// The refusals of a psw.bkp that is not a plain file the program may read and write.
std::vector<Refusal> backupRefusals()
{
    return {
        {"BackupIsAPipe",
         true,
         {},
         makePipe,
         u"",
         load,
         u"%：通常のファイルではありません（名前付きパイプ）。"},
        {"BackupIsTooLarge", true, {}, makeLarge, u"", load, u"%：ファイルが大きすぎます（4 MiB まで）。"},
        {"BackupIsTooLargeOnBackUp",
         true,
         {},
         makeLarge,
         u"",
         backUp,
         u"%：ファイルが大きすぎます（4 MiB まで）。"},
        {"BackupLinksToNothing",
         true,
         {},
         makeDanglingLink,
         u"",
         backUp,
         u"%：リンク先のファイルがありません。"},
        {"BackupIsADevice",
         true,
         {},
         makeDeviceLink,
         u"",
         backUp,
         u"%：通常のファイルではありません（デバイス）。"},
    };
}

const std::vector<Refusal>& refusals()
{
    static const std::vector<Refusal> all = [] {
        auto cases = dataFileRefusals();
        auto backups = backupRefusals();
        cases.insert(cases.end(), backups.begin(), backups.end());
        return cases;
    }();
    return all;
}

class DataFileRefusalTest : public ::testing::TestWithParam<Refusal> {
protected:
    void SetUp() override
    {
        d.start(
            {header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123"), entry(u"Mail", u"hanako", u"Xy9!")});
        // A backup the load could read, unless the case makes it odd.
        d.window.btnunload_Click();
        ASSERT_TRUE(d.window.Txtmassage.text().starts_with(u"退避＆一覧書出し完了"));
    }

    WindowDriver d;
};

TEST_P(DataFileRefusalTest, SaysWhyAndLeavesTheFileAsItWas)
{
    const auto& c = GetParam();
    const std::string path =
        c.backupFile ? d.services.rootDir.file("psw.bkp") : d.services.dataFile("psw.ini");
    const std::string otherPath =
        c.backupFile ? d.services.dataFile("psw.ini") : d.services.rootDir.file("psw.bkp");
    if (c.prepare)
        c.prepare(d);
    c.make(path, d);
    if (!c.atStart.empty()) {
        d.window.Form_Load();
        EXPECT_EQ(d.window.Txtmassage.text(), c.atStart);
    }
    const auto before = whatStandsAt(path);
    const auto otherBefore = whatStandsAt(otherPath);

    c.act(d);
    auto message = c.message;
    if (message.starts_with(u'@') || message.starts_with(u'%'))
        message = host::fromUtf8(path) + message.substr(1);
    EXPECT_EQ(d.window.Txtmassage.text(), message);
    EXPECT_EQ(whatStandsAt(path), before);
    EXPECT_EQ(whatStandsAt(otherPath), otherBefore);
    // Only the files the test made stand in the folders: no temporary file, nothing in a link's place.
    for (const auto* folder : {&d.services.windowsDir, &d.services.rootDir})
        for (const auto& file : fs::directory_iterator(folder->path()))
            EXPECT_FALSE(file.path().filename().string().starts_with(".")) << file.path();
}

INSTANTIATE_TEST_SUITE_P(EveryOddFile, DataFileRefusalTest, ::testing::ValuesIn(refusals()),
                         [](const ::testing::TestParamInfo<Refusal>& param) {
                             return std::string(param.param.name);
                         });

// A Windir whose name cannot be read: start-up says so, and every write is refused with it instead of
// a path that is not found. Nothing is written anywhere.
TEST(UnreadableWindirTest, StartUpSaysSoAndWritesAreRefused)
{
    WindowDriver d;
    d.start({header(u"Mail", u"1"), entry(u"Mail", u"taro", u"abc123")});
    d.window.btnunload_Click();
    d.services.env.setUnreadable(u"Windir", u"UTF-8 ではありません");
    const auto dataBefore = whatStandsAt(d.services.dataFile("psw.ini"));
    const auto backupBefore = whatStandsAt(d.services.rootDir.file("psw.bkp"));
    const std::u16string problem = u"環境変数 Windir を読めません（UTF-8 ではありません）。";

    d.window.Form_Load();
    EXPECT_EQ(d.window.Txtmassage.text(), problem + u"psw.ini を読み書きできません。");
    EXPECT_TRUE(d.window.cmbnamae.items.empty());
    d.registerEntry(u"Mail", u"jiro", u"pw2");
    EXPECT_EQ(d.window.Txtmassage.text(), u"psw.ini を書き込めません：" + problem);
    d.window.btnload_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), problem + u"ロードを中止しました（psw.ini は元のままです）。");
    d.window.btnunload_Click();
    EXPECT_EQ(d.window.Txtmassage.text(),
              problem + u"バックアップを中止しました（psw.bkp は元のままです）。");
    EXPECT_EQ(whatStandsAt(d.services.dataFile("psw.ini")), dataBefore);
    EXPECT_EQ(whatStandsAt(d.services.rootDir.file("psw.bkp")), backupBefore);
}

// An update refused because the file changed, after the user had changed the ID: the next edit of
// the same entry, reopened from the list, is not taken for a change of name.
TEST(DataFileChangedTest, AnUpdateRefusedAfterARenameStartsAfreshOnTheRereadFile)
{
    WindowDriver d;
    d.start({header(u"Mail", u"1"), entry(u"Mail", u"taro", u"abc123")});
    d.openEntry(u"Mail", u"taro");
    d.window.Txtidbox.setText(u"taro2");
    d.services.windowsDir.write("psw.ini",
                                d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123"),
                                            entry(u"Mail", u"hand", u"h1")}));
    d.window.btnkousin_Click();
    EXPECT_TRUE(d.window.Txtmassage.text().starts_with(u"psw.ini が他で変更されたため"));
    // Back on the first screen, from which the entry is chosen again.
    EXPECT_TRUE(d.window.btnnewmode.visible && d.window.btnload.visible && !d.inEditMode());
    d.openEntry(u"Mail", u"taro");
    d.window.Txtpassnew.setText(u"new2");
    d.window.btnkousin_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), u"更新完了Mailの taro:new2");
}

// Two copies of the program over one Windows folder, each acting on what it last read.
TEST(TwoWindowsTest, NeitherWindowOverwritesTheOthersChange)
{
    WindowDriver a;
    a.start({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123"), entry(u"Mail", u"hanako", u"Xy9!")});
    WindowDriver b;
    b.services.env.set(u"Windir", a.services.dataDir());
    b.window.Form_Load();
    const std::u16string refused =
        u"psw.ini が他で変更されたため書き換えを中止し、読み直しました。再度操作して下さい。";

    a.registerEntry(u"銀行", u"1234", u"pin0");
    ASSERT_EQ(a.window.Txtmassage.text(), u"登録完了銀行の 1234:pin0");
    const auto afterA = a.file();

    // b still shows the file without 銀行: its registration would drop a's.
    b.registerEntry(u"Shop", u"s1", u"pw-s");
    EXPECT_EQ(b.window.Txtmassage.text(), refused);
    EXPECT_EQ(a.file(), afterA);
    EXPECT_EQ(b.window.cmbnamae.items, (std::vector<std::u16string>{u"Mail", u"銀行"}));
    // Still in registration mode with the boxes as typed: pressing "登録する" again is enough.
    EXPECT_TRUE(b.inRegistrationMode());
    EXPECT_EQ(b.window.cmbnamae.text(), u"Shop");
    b.window.btnnew_Click();
    EXPECT_EQ(b.window.Txtmassage.text(), u"登録完了Shopの s1:pw-s");

    // Both open an entry; b deletes taro first, so a's update, made on what a read before, is
    // refused and then goes through over the file without taro.
    a.openEntry(u"Mail", u"hanako");
    a.window.Txtpassnew.setText(u"new!1");
    b.openEntry(u"Mail", u"taro");
    b.window.btndelete_Click();
    EXPECT_EQ(b.window.Txtmassage.text(), u"削除完了Mailの taro:abc123");
    a.window.btnkousin_Click();
    EXPECT_EQ(a.window.Txtmassage.text(), refused);
    EXPECT_EQ(a.window.Lstidbox.items, std::vector<std::u16string>{});
    a.openEntry(u"Mail", u"hanako");
    a.window.Txtpassnew.setText(u"new!1");
    a.window.btnkousin_Click();
    EXPECT_EQ(a.window.Txtmassage.text(), u"更新完了Mailの hanako:new!1");

    EXPECT_EQ(a.file(), a.rowsFile({header(u"Mail", u"1"), entry(u"Mail", u"hanako", u"new!1"),
                                    header(u"銀行", u"1"), entry(u"銀行", u"1234", u"pin0"),
                                    header(u"Shop", u"1"), entry(u"Shop", u"s1", u"pw-s")}));
}

// A write whose folder could not be flushed is in place; the message says so, after its usual words.
TEST(UnflushedFolderTest, TheDoneMessageWarnsThatTheChangeMayNotSurviveAPowerFailure)
{
    const std::u16string note = u"（停電注意）";
    WindowDriver d;
    d.start({header(u"Mail", u"1"), entry(u"Mail", u"taro", u"abc123")});
    d.services.files.failWrite(1, WriteStep::SyncFolder);
    d.registerEntry(u"Mail", u"jiro", u"pw2");
    EXPECT_EQ(d.window.Txtmassage.text(), u"登録完了Mailの jiro:pw2" + note);
    EXPECT_EQ(d.file(), d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123"),
                                    entry(u"Mail", u"jiro", u"pw2")}));

    d.services.files.failWrite(1, WriteStep::SyncFolder);
    d.window.btnunload_Click();
    EXPECT_EQ(d.window.Txtmassage.text(),
              u"退避＆一覧書出し完了：" + host::fromUtf8(d.services.rootDir.file("")) + note);
    // The second write of a load: the first keeps the replaced file as psw.ini.bak.
    d.services.files.failWrite(2, WriteStep::SyncFolder);
    d.window.btnload_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), u"ＬＯＡＤ完了" + note);
    d.window.btnload_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), u"ＬＯＡＤ完了");
}

} // namespace
} // namespace orvanta::test
