// Refusals that keep a good file from being replaced: each says why, and psw.ini, psw.ini.bak and
// psw.bkp keep their bytes.
#include "BackupMachine.h"
#include "platform/Utf8.h"

#include <functional>

namespace orvanta::test {
namespace {

struct Refusal {
    const char* title;
    std::vector<Row> rows;             ///< psw.ini
    std::function<void(Machine&)> act; ///< after psw.bkp and psw.ini.bak are in place
    std::function<std::u16string(Machine&)> message;
};

std::u16string fixed(std::u16string text, Machine&)
{
    return text;
}

void openAndRename(Machine& m, std::u16string_view id, std::u16string destination)
{
    m.window.cmbnamae.listIndex = 0;
    m.window.cmbnamae_Click();
    m.window.Lstidbox.listIndex =
        static_cast<int>(std::find(m.window.Lstidbox.items.begin(), m.window.Lstidbox.items.end(), id) -
                         m.window.Lstidbox.items.begin());
    m.window.Lstidbox_Click();
    m.window.Lstidbox_DblClick();
    m.window.Txtnamae.setText(std::move(destination));
    m.window.btnkousin_Click();
}

const std::vector<Refusal> kRefusals{
    {"BackupOfAnEmptyDataFile",
     {},
     [](Machine& m) { m.window.btnunload_Click(); },
     std::bind_front(fixed, u"データファイル psw.ini に登録が１件もありません。バックアップを中止しました"
                            u"（psw.bkp は元のままです）。")},
    {"MergeThatWouldDoubleAnId",
     {{u"hyoujimark", u"A", u" ", u"2", u" "},
      {u"A", u"x", u"px", u" ", u""},
      {u"A", u"y", u"py", u" ", u""},
      {u"hyoujimark", u"B", u" ", u"1", u" "},
      {u"B", u"y", u"qy", u" ", u""}},
     [](Machine& m) { openAndRename(m, u"x", u"B"); },
     std::bind_front(fixed, u"登録先「B」にID「y」が既にあるため、登録先「A」を「B」には変更できません。")},
    {"LoadWhileTheKeptFileIsReadOnly",
     {{u"hyoujimark", u"A", u" ", u"1", u" "}, {u"A", u"x", u"px", u" ", u""}},
     [](Machine& m) {
         ASSERT_EQ(::chmod(m.s.dataFile("psw.ini.bak").c_str(), 0400), 0);
         m.window.btnload_Click();
     },
     [](Machine& m) {
         return platform::fromUtf8(m.s.dataFile("psw.ini.bak")) +
                u"：読み取り専用のファイルのため、書き換えられません。元のデータファイルを残せないため、"
                u"ロードを中止しました（psw.ini は元のままです）。";
     }},
};

class KeptFilesTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(KeptFilesTest, SaysWhyAndKeepsEveryFile)
{
    TempDir floppy;
    Machine machine{u"55274-640-1234567-12", floppy.path()};
    const std::string backup =
        "\"hyoujimark\",\"Old\",\"\",\"1\",\" \"\r\n\"Old\",\"o\",\"po\",\" \",\"\"\r\n";
    floppy.write("psw.bkp", backup);
    machine.s.windowsDir.write("psw.ini.bak", "older");
    // A data file of blank lines holds no rows either.
    const std::string data = GetParam().rows.empty() ? "\r\n \r\n" : dataFileOf(machine, GetParam().rows);
    machine.start(data);

    GetParam().act(machine);
    EXPECT_EQ(machine.window.Txtmassage.text(), GetParam().message(machine));
    EXPECT_EQ(machine.dataFile(), data);
    EXPECT_EQ(machine.s.windowsDir.read("psw.ini.bak"), "older");
    EXPECT_EQ(floppy.read("psw.bkp"), backup);
    EXPECT_EQ(filesIn(floppy.path()), std::set<std::string>{"psw.bkp"});
}

INSTANTIATE_TEST_SUITE_P(Refusals, KeptFilesTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& test) { return std::string(test.param.title); });

} // namespace
} // namespace orvanta::test
