// Refusals that keep a good file from being replaced: each says why, and psw.ini, psw.ini.bak and
// psw.bkp keep their bytes.
#include "host/Utf8.h"
#include "support/WindowDriver.h"

#include <functional>
#include <sys/stat.h>

namespace orvanta::test {
namespace {

struct Refusal {
    const char* title;
    std::string dataFile; ///< empty: psw.ini holds rows of two destinations A and B
    std::function<void(WindowDriver&)> act;
    std::u16string message; ///< "@" stands for the path of psw.ini.bak, "#" for psw.ini's
};

const std::vector<Refusal> kRefusals{
    // A data file of blank lines holds no rows.
    {"BackupOfAnEmptyDataFile", "\r\n \r\n", [](WindowDriver& d) { d.window.btnunload_Click(); },
     u"psw.ini に登録がないため、バックアップを中止しました（psw.bkp は元のままです）。"},
    {"MergeThatWouldDoubleAnId",
     {},
     [](WindowDriver& d) {
         d.openEntry(u"A", u"x");
         d.window.Txtnamae.setText(u"B");
         d.window.btnkousin_Click();
     },
     u"中止しました：登録先「B」のID「y」が２つになります。"},
    // Found before psw.ini.bak is written, so that the copy of the load before stays.
    {"LoadOverAReadOnlyDataFile",
     {},
     [](WindowDriver& d) {
         ASSERT_EQ(::chmod(d.services.dataFile("psw.ini").c_str(), 0400), 0);
         d.window.btnload_Click();
     },
     u"ロード中止（psw.ini）：読み取り専用のファイルです。"},
};

class KeptFilesTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(KeptFilesTest, SaysWhyAndKeepsEveryFile)
{
    WindowDriver d;
    const std::string backup =
        "\"hyoujimark\",\"Old\",\"\",\"1\",\" \"\r\n\"Old\",\"o\",\"po\",\" \",\"\"\r\n";
    d.services.rootDir.write("psw.bkp", backup);
    d.services.windowsDir.write("psw.ini.bak", "older");
    const auto data =
        !GetParam().dataFile.empty()
            ? GetParam().dataFile
            : d.rowsFile({header(u"A", u"2"), entry(u"A", u"x", u"px"), entry(u"A", u"y", u"py"),
                          header(u"B", u"1"), entry(u"B", u"y", u"qy")});
    d.start(data);

    GetParam().act(d);
    auto message = GetParam().message;
    if (message.starts_with(u'@') || message.starts_with(u'#'))
        message.replace(0, 1,
                        host::fromUtf8(d.services.dataFile(message[0] == u'@' ? "psw.ini.bak" : "psw.ini")));
    EXPECT_EQ(d.window.Txtmassage.text(), message);
    EXPECT_EQ(d.file(), data);
    EXPECT_EQ(d.services.windowsDir.read("psw.ini.bak"), "older");
    EXPECT_EQ(d.services.rootDir.read("psw.bkp"), backup);
}

INSTANTIATE_TEST_SUITE_P(Refusals, KeptFilesTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& test) { return std::string(test.param.title); });

} // namespace
} // namespace orvanta::test
