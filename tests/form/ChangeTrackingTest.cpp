// Change tracking in edit mode: an update checks the destination and ID for a used pair only when the
// user touched those boxes since the entry was opened, and some operations forget that they did.
#include "support/WindowDriver.h"

#include <functional>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

class ChangeTrackingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        d.start(
            {header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123"), entry(u"Mail", u"hanako", u"Xy9!")});
        before = d.file();
    }

    WindowDriver d;
    std::string before;
};

TEST_F(ChangeTrackingTest, AnUntouchedEntrySavesWithoutThePairCheck)
{
    d.openEntry(u"Mail", u"taro");
    d.window.Txtpassnew.setText(u"zzz");
    d.window.btnkousin_Click();

    EXPECT_EQ(d.window.Txtmassage.text(), u"更新完了Mailの taro:zzz");
    EXPECT_EQ(d.file(), d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"zzz"),
                                    entry(u"Mail", u"hanako", u"Xy9!")}));
}

TEST_F(ChangeTrackingTest, AnIdTypedBackIsStillAChange)
{
    d.openEntry(u"Mail", u"taro");
    d.window.Txtidbox.setText(u"tarou");
    d.window.Txtidbox.setText(u"taro");
    d.window.btnkousin_Click();

    EXPECT_EQ(d.window.Txtmassage.text(), u"更新名は使われている");
    EXPECT_EQ(d.file(), before);
    EXPECT_TRUE(d.onResultScreen());
}

// After each of these, an entry opened and saved unchanged goes through.
struct Forgetting {
    const char* name;
    std::function<void(WindowDriver&)> afterAnEdit;
    std::string file; // filled in by the test: the rows left by afterAnEdit
};

TEST_F(ChangeTrackingTest, TheChangeIsForgottenAfterDeleteAndReturn)
{
    const std::string withoutHanako = d.rowsFile({header(u"Mail", u"1"), entry(u"Mail", u"taro", u"abc123")});
    Forgetting cases[] = {
        {"Delete",
         [](WindowDriver& w) {
             w.openEntry(u"Mail", u"hanako");
             w.window.Txtidbox.setText(u"hanakoX");
             w.window.btndelete_Click();
             EXPECT_EQ(w.window.Txtmassage.text(), u"削除完了Mailの hanakoX:Xy9!");
         },
         withoutHanako},
        {"Return",
         [](WindowDriver& w) {
             w.openEntry(u"Mail", u"hanako");
             w.window.Txtidbox.setText(u"hanakoX");
             w.window.btnmordori_Click();
         },
         before},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        d.start(before);
        c.afterAnEdit(d);
        EXPECT_EQ(d.file(), c.file);

        d.openEntry(u"Mail", u"taro");
        d.window.btnkousin_Click();
        EXPECT_EQ(d.window.Txtmassage.text(), u"更新完了Mailの taro:abc123");
        EXPECT_EQ(d.file(), c.file);
    }
}

} // namespace
} // namespace orvanta::test
