// What a user may type, paste or leave in the program's files: every case ends with the message the
// program gives for it, and with psw.ini either exactly as it was or holding the new entry whole.
// What registration and update refuse to store is in tests/entries/EntryTest.cpp, the backups a load
// refuses in tests/backup/RestoreTest.cpp.
#include "host/linux/imitate_windows/RegistryHive.h"
#include "rules/generator/Generator.h"
#include "rules/store/Decimal.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace orvanta::test {
namespace {

using Destinations = std::vector<std::u16string>;

const std::u16string kRewriteRefused = u"psw.ini が正しく読めなかったため、書き換えを中止しました。";
const std::u16string kFixedKey = u"製品IDから暗号化キーを得られないため、固定キー 00 を設定しました。";

class HostileInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        d.start(startingRows());
        before = d.file();
    }

    std::string startingRows()
    {
        return d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                           entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                           entry(u"銀行", u"1234", u"pin0")});
    }

    /// The password a fresh start of the program shows for an entry, or nothing when the window
    /// does not list it.
    std::optional<std::u16string> passwordOf(std::u16string_view destination, std::u16string_view id)
    {
        WindowDriver fresh;
        fresh.services.env.set(u"Windir", d.services.dataDir());
        fresh.window.Form_Load();
        auto& w = fresh.window;
        const auto& destinations = w.cmbnamae.items;
        if (std::find(destinations.begin(), destinations.end(), destination) == destinations.end())
            return std::nullopt;
        fresh.chooseDestination(destination);
        const auto& ids = w.Lstidbox.items;
        const auto found = std::find(ids.begin(), ids.end(), id);
        if (found == ids.end())
            return std::nullopt;
        w.Lstidbox.listIndex = static_cast<int>(found - ids.begin());
        w.Lstidbox_Click();
        return w.Lblpassword.text();
    }

    /// Every entry of the starting file still reads back with its password.
    bool startingEntriesIntact()
    {
        return passwordOf(u"Mail", u"taro") == u"abc123" && passwordOf(u"Mail", u"hanako") == u"Xy9!" &&
               passwordOf(u"銀行", u"1234") == u"pin0";
    }

    WindowDriver d;
    std::string before;
};

// --- entries that look odd but are fine: stored, and read back whole --------------------------

struct Acceptance {
    const char* name;
    std::u16string destination;
    std::u16string id;
    std::u16string password;
};

std::vector<Acceptance> acceptances()
{
    return {
        // A comma stands inside the double quotes of its field.
        {"CommaInDestination", u"Mail,Web", u"id", u"pw"},
        {"CommaInId", u"Mail", u"taro,jiro", u"pw"},
        {"CommasEverywhere", u",", u",,", u"a-b"},
        {"HeaderMarkAsId", u"Mail", u"hyoujimark", u"pw"},
        {"SpacesAroundDestination", u" Mail ", u" id ", u"pw"},
        {"HalfWidthKana", u"ﾃｽﾄ", u"ｱｲｳ", u"pw"},
        {"MachineDependentCharacters", u"①～∥", u"髙﨑", u"pw"},
        {"TenThousandCharacterId", u"Long", std::u16string(10000, u'x'), u"pw"},
        {"EveryUsableCharacter", u"All", u"id",
         u"abcdefghijklmnopqrstuvwxyzABCDEFGHJIKLMNOPQRSTUVWXYZ1234567890!#%*+-./:<=>[]^_{}@"},
    };
}

TEST_F(HostileInputTest, OddButUsableEntriesAreStoredWhole)
{
    for (const auto& c : acceptances()) {
        SCOPED_TRACE(c.name);
        d.start(before);
        d.registerEntry(c.destination, c.id, c.password);
        EXPECT_EQ(d.window.Txtmassage.text(),
                  u"登録完了" + c.destination + u"の " + c.id + u":" + c.password);
        EXPECT_EQ(passwordOf(c.destination, c.id), c.password);
        EXPECT_TRUE(startingEntriesIntact());
    }
}

TEST(HostileKanaTest, HalfWidthKanaInAFileOtherwiseAsciiReadsBack)
{
    // ﾏｲ is CF B2 and ﾃｽ C3 BD in Shift_JIS: byte pairs that are also well-formed UTF-8, in a file
    // with nothing else beyond ASCII.
    for (std::u16string_view destination : {u"ﾏｲ", u"ﾃｽ", u"ﾏｲﾃｽ"}) {
        WindowDriver d;
        d.registerEntry(destination, u"id", u"pw");
        ASSERT_EQ(d.window.Txtmassage.text(), u"登録完了" + std::u16string(destination) + u"の id:pw");
        const auto written = d.file();

        WindowDriver fresh;
        fresh.start(written);
        EXPECT_TRUE(fresh.window.dataFileSound()) << std::string(written);
        EXPECT_EQ(fresh.window.cmbnamae.items, Destinations{std::u16string(destination)});
        fresh.registerEntry(destination, u"id2", u"pw2");
        EXPECT_EQ(fresh.window.Txtmassage.text(), u"登録完了" + std::u16string(destination) + u"の id2:pw2");
    }
}

TEST_F(HostileInputTest, ARenameToANameWithACommaKeepsEveryEntry)
{
    d.openEntry(u"Mail", u"hanako");
    d.window.Txtnamae.setText(u"Mail, old");
    d.window.btnkousin_Click();
    EXPECT_EQ(d.window.Txtmassage.text(), u"更新完了Mail, oldの hanako:Xy9!");
    EXPECT_EQ(passwordOf(u"Mail, old", u"taro"), u"abc123");
    EXPECT_EQ(passwordOf(u"Mail, old", u"hanako"), u"Xy9!");
    EXPECT_EQ(passwordOf(u"銀行", u"1234"), u"pin0");
}

// --- data files the program did not write as they are: shown as far as they read, never rewritten

struct BadFile {
    const char* name;
    std::string bytes;
    std::u16string loadMessage;
    Destinations listed;
    std::u16string registered = kRewriteRefused;
};

TEST_F(HostileInputTest, ADataFileThatDoesNotReadCleanlyIsNeverRewritten)
{
    std::string hundredRows = d.rowsFile({header(u"Mail", u"99")});
    for (int i = 1; i <= 99; ++i)
        hundredRows += d.rowsFile({entry(u"Mail", u"id" + store::decimalText(i), u"pw")});
    // Cut inside the third row, and inside the first byte pair of 銀 in the fourth.
    const std::string cutInRow = before.substr(0, before.find("hanako") + 3);
    const std::string cutInCharacter = before.substr(0, before.find("\x8B\xE2") + 1);
    // The rows as a text editor saves them in UTF-8 with a byte-order mark; without the mark the same
    // bytes are taken for the Shift_JIS that psw.ini is.
    const std::string utf8 =
        "\xEF\xBB\xBF\"hyoujimark\",\"銀行\",\" \",\"1\",\" \"\r\n\"銀行\",\"1234\",\"x\",\" \",\"\"\r\n";

    static constexpr char kNulRow[] = "\"Mail\",\"a\0b\",\"c\",\" \",\" \"\r\n\0\0";
    const std::vector<BadFile> files{
        {"HundredRows",
         hundredRows,
         u"psw.ini が上限の 99 行を超えています。最初の 99 行のみ表示し、書き換えません。",
         {u"Mail"},
         u"登録件数が上限の 99 行に達しているため、登録できません。"},
        {"CutInTheMiddleOfARow",
         cutInRow,
         u"psw.ini の 3 行目が５項目ではありません。読めた行のみ表示し、書き換えません。",
         {u"Mail"}},
        {"CutInTheMiddleOfACharacter",
         cutInCharacter,
         u"psw.ini の 4 行目が Shift_JIS ではありません。読めた行のみ表示し、書き換えません。",
         {u"Mail"}},
        {"Utf8",
         utf8,
         u"psw.ini が Shift_JIS ではなく UTF-8 です。Shift_JIS に直すまで書き換えません。",
         {u"銀行"}},
        {"SixFieldRow",
         before + "\"Mail\",\"x\",\"y\",\" \",\" \",\"extra\"\r\n",
         u"psw.ini の 6 行目が５項目ではありません。読めた行のみ表示し、書き換えません。",
         {u"Mail", u"銀行"}},
        {"StrayQuote",
         before + "\"Mail\",\"ta\"ro\",\"abc\",\" \",\" \"\r\n",
         u"psw.ini の 6 行目が５項目ではありません。読めた行のみ表示し、書き換えません。",
         {u"Mail", u"銀行"}},
        // A NUL is a character of the code page and stays in its ID; the two after the last line
        // are a line that is no row.
        {"NulBytes",
         before + std::string(kNulRow, sizeof kNulRow - 1),
         u"psw.ini の 7 行目が５項目ではありません。読めた行のみ表示し、書き換えません。",
         {u"Mail", u"銀行"}},
    };

    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        d.start(f.bytes);
        EXPECT_EQ(d.window.Txtmassage.text(), f.loadMessage);
        EXPECT_EQ(d.window.cmbnamae.items, f.listed);

        d.registerEntry(u"Mail", u"new-id", u"pw");
        EXPECT_EQ(d.window.Txtmassage.text(), f.registered);
        EXPECT_TRUE(d.inRegistrationMode());
        EXPECT_EQ(d.file(), f.bytes);
        d.start(f.bytes);
        if (!f.listed.empty()) {
            d.chooseDestination(f.listed.front());
            if (!d.window.Lstidbox.items.empty()) {
                d.window.Lstidbox.listIndex = 0;
                d.window.Lstidbox_Click();
                d.window.Lstidbox_DblClick();
                d.window.btndelete_Click();
                EXPECT_EQ(d.window.Txtmassage.text(), kRewriteRefused);
                EXPECT_TRUE(d.inEditMode());
                EXPECT_EQ(d.file(), f.bytes);
            }
        }
    }
}

// --- hive files without a usable product ID: the fixed key -------------------------------------

struct BadHive {
    const char* name;
    std::string bytes;
    std::u16string message;
};

std::string utf16le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST_F(HostileInputTest, AHiveWithoutAUsableProductIdGivesTheFixedKey)
{
    const std::u16string key = u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n";
    const std::u16string version5 = u"Windows Registry Editor Version 5.00\r\n\r\n" + key;
    const std::string regedit4 =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n";

    const std::vector<BadHive> hives{
        // Bytes are no product ID: the fixed key, told as a damaged hive, and no backup.
        {"BinaryProductId", utf16le(version5 + u"\"ProductId\"=hex:de,ad,be,ef\r\n"),
         u"仮キー 00（製品ID不明）。レジストリ の 4 行目が壊れています。"},
        {"MissingProductId", utf16le(version5 + u"\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n"),
         kFixedKey},
        {"EmptyProductId", utf16le(version5 + u"\"ProductId\"=\"\"\r\n"), kFixedKey},
        {"ProductIdEndingInLetters", regedit4 + "\"ProductId\"=\"55274-640-1234567-AB\"\r\n", kFixedKey},
        {"ProductIdEndingInFullWidthDigits",
         utf16le(version5 + u"\"ProductId\"=\"55274-640-1234567-２３\"\r\n"), kFixedKey},
        {"ProductIdDeletedAgain", regedit4 + "\"ProductId\"=\"55274-640-1234567-23\"\r\n\"ProductId\"=-\r\n",
         kFixedKey},
        {"NotAHiveFile", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), kFixedKey},
        {"EmptyFile", "", kFixedKey},
        {"UsableProductId", utf16le(version5 + u"\"ProductId\"=\"55274-640-1234567-23\"\r\n"),
         u"暗号化キーは、自動で 23 を設定しました。"},
    };

    for (const auto& h : hives) {
        SCOPED_TRACE(h.name);
        // No machine identifier, so nothing stands in for a missing product ID.
        auto hive = host::RegistryHive::parse(h.bytes);
        auto& s = d.services;
        form::MainWindow window(host::Services{hive, s.env, s.files, s.codePage, s.clipboard, s.clock,
                                               s.random, s.help, s.drives, s.timer});
        window.Form_Load();
        EXPECT_EQ(window.Txtmassage.text(), h.message);
        EXPECT_EQ(window.cmbnamae.items, (Destinations{u"Mail", u"銀行"}));
        EXPECT_EQ(d.file(), before);
    }
}

// --- the generator's length box, pasted into -------------------------------------------------

struct LengthCase {
    const char* name;
    std::u16string typed;
    std::u16string message;
    std::size_t generatedLength; ///< 0: no password is generated
};

TEST_F(HostileInputTest, TheLengthBoxRefusesWhatIsNoUsableLength)
{
    const std::u16string tooLong = u"桁数が大きすぎます。" +
                                   store::decimalText(generator::kMaxGeneratedLength) +
                                   u" 桁以下で指定して下さい。";
    const std::vector<LengthCase> cases{
        {"ElevenNines", u"99999999999", tooLong, 0},
        {"MoreDigitsThanANumberHolds", u"999999999999999999999999999999", tooLong, 0},
        {"OneMoreThanTheLimit", store::decimalText(generator::kMaxGeneratedLength + 1), tooLong, 0},
        {"FullWidthDigits", u"１２", u"桁数は数字で指定して下さい。", 0},
        {"Negative", u"-5", u"桁数は数字で指定して下さい。", 0},
        {"Spaces", u" 12 ", u"桁数は数字で指定して下さい。", 0},
        {"Zero", u"0", u"", 5},
        {"TheLimit", store::decimalText(generator::kMaxGeneratedLength), u"", generator::kMaxGeneratedLength},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        d.window.btnnewmode_Click();
        d.window.Txtpassnew.setText(u"");
        d.window.Txtmassage.setText(u"");
        d.window.txtketasu.setText(c.typed);
        d.window.btncleate_Click();
        EXPECT_EQ(d.window.Txtmassage.text(), c.message);
        EXPECT_EQ(d.window.Txtpassnew.text().size(), c.generatedLength);
        EXPECT_EQ(d.file(), before);
        d.window.btnmordori_Click();
    }
}

} // namespace
} // namespace orvanta::test
