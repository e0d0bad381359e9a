// Start-up: the key, the initial screen, the clipboard, the destination list, the picture and help.
#include "form/HelpText.h"
#include "form/MainWindow.h"
#include "form/Module1.h"
#include "host/Utf8.h"
#include "rules/store/Decimal.h"
#include "support/TestServices.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace orvanta::test {
namespace {

using form::ControlId;

constexpr std::u16string_view kVersionKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

class FormLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        services.registry.setText(host::HKEY_LOCAL_MACHINE, kVersionKey, u"ProductId",
                                  u"55274-640-1234567-07");
    }

    void writeDataFile(std::u16string_view text)
    {
        services.windowsDir.write("psw.ini", std::get<std::string>(services.codePage.encode(text)));
    }

    TestServices services;
    form::MainWindow window{services.services()};
};

TEST_F(FormLoadTest, FirstStartShowsTheInitialScreenWithTheKeyAndAnEmptyClipboard)
{
    services.clipboard.copyElsewhere(u"from another program");
    window.Form_Load();

    EXPECT_EQ(window.Txtmassage.text(), u"暗号化キーは、自動で 07 を設定しました。");
    EXPECT_EQ(window.inputkensu, 0);
    EXPECT_TRUE(window.cmbnamae.items.empty());
    EXPECT_EQ(window.Lblpassword.text(), u"");
    EXPECT_EQ(window.Lblbikouran.text(), u" ");
    EXPECT_EQ(services.clipboard.text(), u"");
    EXPECT_GE(services.clipboard.clearCount(), 1);
    EXPECT_EQ(services.clipboard.setCount(), 0)
        << "nothing shown is nothing put there, not even an empty text";
    EXPECT_FALSE(std::filesystem::exists(services.dataFile("psw.ini"))) << "start-up writes nothing";

    for (auto shown : {ControlId::cmbnamae, ControlId::Lstidbox, ControlId::Lblpassword,
                       ControlId::Lblbikouran, ControlId::Txtmassage, ControlId::btnnewmode,
                       ControlId::btnclipset, ControlId::btnload, ControlId::btnunload, ControlId::Label1})
        EXPECT_TRUE(window.control(shown).visible) << form::design(shown).name;
    for (auto hidden : {ControlId::Txtdirectry, ControlId::regprodid, ControlId::Txtnamae,
                        ControlId::Txtidbox, ControlId::Txtpassnew, ControlId::Txtbikouran,
                        ControlId::riyoukanou, ControlId::btnnew, ControlId::btnkousin, ControlId::btndelete,
                        ControlId::btnmordori, ControlId::btncleate, ControlId::txtketasu})
        EXPECT_FALSE(window.control(hidden).visible) << form::design(hidden).name;
}

TEST_F(FormLoadTest, ListsEveryHeaderRowInFileOrderEvenTwice)
{
    writeDataFile(u"\"hyoujimark\",\"銀行\",\" \",\"1\",\" \"\r\n\"銀行\",\"taro\",\"\",\" "
                  u"\",\"\"\r\n\"hyoujimark\",\"Amazon\",\" \",\"1\",\" \"\r\n\"Amazon\",\"taro\",\"\",\" "
                  u"\",\"\"\r\n\"hyoujimark\",\"銀行\",\" \",\"0\",\" \"\r\n");
    window.Form_Load();

    EXPECT_EQ(window.cmbnamae.items, (std::vector<std::u16string>{u"銀行", u"Amazon", u"銀行"}));
    EXPECT_EQ(window.inputkensu, 5);
    EXPECT_TRUE(window.dataFileSound());
}

TEST_F(FormLoadTest, AnUnsetOrEmptyWindirPutsTheDataFileAtTheRootOfTheCurrentDrive)
{
    services.rootDir.write("psw.ini", "\"hyoujimark\",\"root\",\" \",\"1\",\" \"\r\n");
    for (bool unset : {true, false}) {
        if (unset)
            services.env.unset(u"Windir");
        else
            services.env.set(u"Windir", u"");
        window.Form_Load();
        EXPECT_EQ(window.dataFilePath(), u"\\psw.ini");
        EXPECT_EQ(window.cmbnamae.items, (std::vector<std::u16string>{u"root"}));
    }
}

TEST_F(FormLoadTest, AFileThatDoesNotReadCleanlyIsReportedAndListsWhatDidRead)
{
    writeDataFile(u"\"hyoujimark\",\"銀行\",\" \",\"1\",\" \"\r\n\"銀行\",\"taro\",\"\",\" \"\r\n");
    window.Form_Load();

    EXPECT_EQ(window.Txtmassage.text(),
              u"psw.ini の 2 行目が５項目ではありません。読めた行のみ表示し、書き換えません。");
    EXPECT_EQ(window.cmbnamae.items, (std::vector<std::u16string>{u"銀行"}));
    EXPECT_FALSE(window.dataFileSound());
}

TEST_F(FormLoadTest, AFileThatCannotBeOpenedIsReported)
{
    std::filesystem::create_directory(services.dataFile("psw.ini"));
    window.Form_Load();

    EXPECT_TRUE(window.Txtmassage.text().starts_with(u"データファイル psw.ini を読めません："));
    EXPECT_FALSE(window.dataFileSound());
}

TEST_F(FormLoadTest, ThePictureIsTakenFromTheProgramFolderWhenItIsThere)
{
    window.Form_Load();
    EXPECT_EQ(window.pictureFile(), "");

    services.programDir.write("logob.jpg", "picture");
    window.Form_Load();
    EXPECT_EQ(window.pictureFile(), services.programDir.file("logob.jpg"));
}

TEST_F(FormLoadTest, HelpOpensTheWorkingDirectorysHelpFileOrSaysItIsMissing)
{
    window.Form_Load();
    window.helpKey();
    // The path in the host's own form, never a host folder joined to "\\ORVANTA.HLP".
    EXPECT_EQ(window.Txtmassage.text(),
              u"ヘルプなし：" + host::fromUtf8(services.rootDir.file("ORVANTA.HLP")));

    services.rootDir.write("ORVANTA.HLP", "help");
    window.helpKey();
    const host::HelpDocument help{{host::HelpBlockKind::Paragraph, 0, 0, {{u"help"}}}};
    EXPECT_EQ(services.help.shown(), std::vector<host::HelpDocument>{help});

    // No window could be made for it, or the file is no help text (an old binary WinHelp file).
    const std::u16string cannot = u"ORVANTA.HLP を表示できません。";
    services.help.setResult(false);
    window.helpKey();
    EXPECT_EQ(window.Txtmassage.text(), cannot);
    services.help.setResult(true);
    services.rootDir.write("ORVANTA.HLP", std::string("?_\x03\0\0", 5));
    window.helpKey();
    EXPECT_EQ(window.Txtmassage.text(), cannot);
    EXPECT_EQ(services.help.shown().size(), 2U);
}

// The help is read only from a regular file of sane size, as the data file: a pipe of that name
// would keep the window waiting.
TEST_F(FormLoadTest, HelpRefusesAPipeOrAHugeFile)
{
    const std::string path = services.rootDir.file("ORVANTA.HLP");
    struct Case {
        std::function<void()> make;
        std::u16string why;
    };
    // A help file is held to a smaller size than psw.ini, and a file larger than either is refused
    // with the help's own limit.
    std::vector<Case> cases{
        {[&] { services.rootDir.write("ORVANTA.HLP", std::string(form::kMaxHelpFileSize + 1, 'x')); },
         u"ファイルが大きすぎます（256 KiB まで）。"},
        {[&] { services.rootDir.write("ORVANTA.HLP", std::string(host::kMaxFileSize + 1, 'x')); },
         u"ファイルが大きすぎます（256 KiB まで）。"},
    };
#ifndef _WIN32 // Windows has no named pipes in the file system
    cases.push_back({[&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
                     u"通常のファイルではありません（名前付きパイプ）。"});
#endif
    for (const auto& c : cases) {
        std::filesystem::remove(path);
        c.make();
        window.Form_Load();
        window.helpKey();
        EXPECT_EQ(window.Txtmassage.text(), u"ORVANTA.HLP：" + c.why);
        EXPECT_TRUE(services.help.shown().empty());
    }
    // A file of the largest size is shown.
    std::filesystem::remove(path);
    services.rootDir.write("ORVANTA.HLP", std::string(form::kMaxHelpFileSize, 'x'));
    window.helpKey();
    EXPECT_EQ(services.help.shown().size(), 1U);
}

// Where the picture and the help file are found, for each set of folders that hold them. The working
// directory is rootDir, the program's folder programDir, and the installation's shared folder a third.
TEST_F(FormLoadTest, PictureAndHelpAreFoundInTheFirstFolderThatHoldsThem)
{
    enum Place { Working = 1, Program = 2, Shared = 4 };
    struct Case {
        int holding;        // the folders that hold the file
        bool hostHasShared; // false on Windows, which keeps everything beside the program
        Place picture;      // 0: none
        Place help;         // 0: none, F1 names the working directory's
    };
    const Case cases[] = {
        {0, true, Place{}, Place{}},
        {Working, true, Place{}, Working},
        {Program, true, Program, Program},
        {Shared, true, Shared, Shared},
        {Working | Program | Shared, true, Program, Working},
        {Program | Shared, true, Program, Program},
        {Working | Shared, true, Shared, Working},
        {Shared, false, Place{}, Place{}},
        {Working | Program, false, Program, Working},
    };
    for (const auto& c : cases) {
        TestServices s;
        const TempDir shared;
        if (c.hostHasShared)
            s.env.setSharedFolder(shared.u16path());
        const auto dir = [&](int place) -> const TempDir& {
            return place == Working ? s.rootDir : place == Program ? s.programDir : shared;
        };
        for (int place : {Working, Program, Shared}) {
            if (c.holding & place) {
                dir(place).write("logob.jpg", "picture");
                dir(place).write("ORVANTA.HLP", "help " + std::to_string(place));
            }
        }
        form::MainWindow w{s.services()};
        w.Form_Load();
        const std::string where =
            "holding " + std::to_string(c.holding) + (c.hostHasShared ? "" : " on Windows");

        EXPECT_EQ(w.pictureFile(), c.picture ? dir(c.picture).file("logob.jpg") : "") << where;
        w.helpKey();
        if (c.help) {
            ASSERT_EQ(s.help.shown().size(), 1U) << where;
            const auto number = std::to_string(c.help);
            EXPECT_EQ(s.help.shown()[0].at(0).runs.at(0).text,
                      u"help " + std::u16string(number.begin(), number.end()))
                << where;
        } else {
            EXPECT_TRUE(s.help.shown().empty()) << where;
            EXPECT_EQ(w.Txtmassage.text(), u"ヘルプなし：" + host::fromUtf8(s.rootDir.file("ORVANTA.HLP")))
                << where;
        }
    }
}

TEST(QueryRegistryValue, GivesTextBytesNumberOrTheDefault)
{
    TestServices s;
    const auto query = [&s](std::u16string_view name) {
        return form::QueryRegistryValue(s.registry, s.codePage, host::HKEY_LOCAL_MACHINE, kVersionKey, name,
                                        std::u16string(u"既定"));
    };
    s.registry.setText(host::HKEY_LOCAL_MACHINE, kVersionKey, u"Text", u"製品ID-12");
    s.registry.set(host::HKEY_LOCAL_MACHINE, kVersionKey, u"Cut", {host::REG_SZ, {'a', 'b', 0, 'c', 0}});
    s.registry.set(host::HKEY_LOCAL_MACHINE, kVersionKey, u"Bytes", {host::REG_BINARY, {0x31, 0x00, 0x32}});
    s.registry.setDword(host::HKEY_LOCAL_MACHINE, kVersionKey, u"Number", 4000000007u);
    s.registry.set(host::HKEY_LOCAL_MACHINE, kVersionKey, u"Multi", {7, {'a', 0, 0}});

    EXPECT_EQ(query(u"Text"), form::RegistryResult(std::u16string(u"製品ID-12")));
    EXPECT_EQ(query(u"Cut"), form::RegistryResult(std::u16string(u"ab")));
    EXPECT_EQ(query(u"Bytes"), form::RegistryResult(std::vector<std::uint8_t>{0x31, 0x00, 0x32}));
    EXPECT_EQ(query(u"Number"), form::RegistryResult(std::uint32_t{4000000007u}));
    EXPECT_EQ(query(u"Multi"), form::RegistryResult(std::u16string(u"既定")));
    EXPECT_EQ(query(u"Missing"), form::RegistryResult(std::u16string(u"既定")));

    EXPECT_EQ(form::registryResultText(query(u"Number")), u"4000000007");
    EXPECT_EQ(form::registryResultText(query(u"Bytes")), u"1\u0032");
    EXPECT_EQ(form::TrimAtNull(std::u16string(u"ab\0cd", 5)), u"ab");
    EXPECT_EQ(form::TrimAtNull(u"abc"), u"abc");
}

TEST_F(FormLoadTest, ANumericProductIdGivesTheKeyOfItsLastTwoDigits)
{
    services.registry.setDword(host::HKEY_LOCAL_MACHINE, kVersionKey, u"ProductId", 1234595);
    window.Form_Load();
    EXPECT_EQ(window.Txtmassage.text(), u"暗号化キーは、自動で 14 を設定しました。");
}

TEST_F(FormLoadTest, ABinaryProductIdThatEndsInNoDigitsUsesTheFixedKey)
{
    services.registry.set(host::HKEY_LOCAL_MACHINE, kVersionKey, u"ProductId",
                          {host::REG_BINARY, {1, 2, 3, 4}});
    window.Form_Load();
    EXPECT_EQ(window.Txtmassage.text(),
              u"製品IDから暗号化キーを得られないため、固定キー 00 を設定しました。");
}

TEST(LeadingNumber, TakesTheDigitsAfterLeadingSpaces)
{
    EXPECT_EQ(store::leadingNumber(u" 12abc"), 12);
    EXPECT_EQ(store::leadingNumber(u" "), 0);
}

} // namespace
} // namespace orvanta::test
