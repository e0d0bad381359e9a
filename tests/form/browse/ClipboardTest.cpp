// The clipboard holds a password only after クリップ or a copy out of the password box: no write,
// backup or restore puts one there, and the program takes its own copy away when it closes.
#include "form/backup/BackupMachine.h"

#include <functional>

namespace orvanta::test {
namespace {

constexpr std::u16string_view kOtherProgramsCopy = u"別のアプリでコピーした文";

struct WritingHandler {
    const char* title;
    std::function<void(form::MainWindow&)> act;
    std::u16string_view message;
};

class ClipboardTest : public ::testing::TestWithParam<WritingHandler> {
protected:
    void SetUp() override
    {
        machine.start(dataFileOf(
            machine, {{u"hyoujimark", u"銀行", u" ", u"1", u" "}, {u"銀行", u"taro", u"Pass1!", u" ", u""}}));
        auto& w = machine.window;
        w.cmbnamae.listIndex = 0;
        w.cmbnamae_Click();
        w.Lstidbox.listIndex = 0;
        w.Lstidbox_Click();
        ASSERT_EQ(w.Lblpassword.text(), u"Pass1!");
    }

    TempDir floppy;
    Machine machine{u"55274-640-1234567-12", floppy.path()};
};

TEST_P(ClipboardTest, AWriteLeavesWhatTheUserCopiedElsewhere)
{
    machine.s.clipboard.copyElsewhere(kOtherProgramsCopy);
    GetParam().act(machine.window);
    EXPECT_EQ(machine.window.Txtmassage.text().substr(0, GetParam().message.size()), GetParam().message);
    EXPECT_EQ(machine.s.clipboard.text(), kOtherProgramsCopy);
}

INSTANTIATE_TEST_SUITE_P(EveryWritingHandler, ClipboardTest,
                         ::testing::Values(WritingHandler{"register",
                                                          [](form::MainWindow& w) {
                                                              w.btnnewmode_Click();
                                                              w.cmbnamae.setText(u"Yahoo");
                                                              w.Txtidbox.setText(u"hanako");
                                                              w.Txtpassnew.setText(u"abc123");
                                                              w.btnnew_Click();
                                                          },
                                                          u"登録完了"},
                                           WritingHandler{"update",
                                                          [](form::MainWindow& w) {
                                                              w.Lstidbox_DblClick();
                                                              w.Txtpassnew.setText(u"New9");
                                                              w.btnkousin_Click();
                                                          },
                                                          u"更新完了"},
                                           WritingHandler{"delete",
                                                          [](form::MainWindow& w) {
                                                              w.Lstidbox_DblClick();
                                                              w.btndelete_Click();
                                                          },
                                                          u"削除完了"},
                                           WritingHandler{"backup",
                                                          [](form::MainWindow& w) { w.btnunload_Click(); },
                                                          u"退避＆一覧書出し完了"},
                                           WritingHandler{"restore",
                                                          [](form::MainWindow& w) {
                                                              w.btnunload_Click();
                                                              w.btnload_Click();
                                                          },
                                                          u"ＬＯＡＤ完了"}),
                         [](const auto& param) { return testName(param.param.title); });

TEST_F(ClipboardTest, OnlyTheCopyButtonPutsThePasswordThereAndClosingTakesItAway)
{
    auto& clipboard = machine.s.clipboard;
    machine.window.btnclipset_Click();
    EXPECT_EQ(clipboard.text(), u"Pass1!");
    machine.window.Form_Unload();
    EXPECT_EQ(clipboard.text(), u"");

    // What the user copied after the password is theirs: closing leaves it.
    machine.window.btnclipset_Click();
    clipboard.copyElsewhere(kOtherProgramsCopy);
    machine.window.Form_Unload();
    EXPECT_EQ(clipboard.text(), kOtherProgramsCopy);
}

TEST_F(ClipboardTest, APasswordCopiedByHandIsTakenAwayAtCloseToo)
{
    auto& clipboard = machine.s.clipboard;
    machine.window.Lblpassword_Copy(u"ss1");
    EXPECT_EQ(clipboard.text(), u"ss1");
    machine.window.Form_Unload();
    EXPECT_EQ(clipboard.text(), u"");
}

} // namespace
} // namespace orvanta::test
