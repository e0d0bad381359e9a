// Choosing a destination and an ID, copying the password, opening an entry.
#include "support/WindowDriver.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

class BrowseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        d.start({header(u"銀行", u"3"), entry(u"銀行", u"taro", u"Pass1!", u"taro@example.jp"),
                 header(u"Amazon", u"1"), entry(u"Amazon", u"taro", u"amz"), entry(u"銀行", u"Hanako", u""),
                 entry(u"銀行", u"hanako", u"h2", u"h@x")});
    }

    void chooseId(std::u16string_view id)
    {
        const auto& items = d.window.Lstidbox.items;
        const auto found = std::find(items.begin(), items.end(), id);
        ASSERT_NE(found, items.end());
        d.window.Lstidbox.listIndex = static_cast<int>(found - items.begin());
        d.window.Lstidbox_Click();
    }

    WindowDriver d;
};

TEST_F(BrowseTest, ADestinationListsItsIdsInFileOrderAndNothingElse)
{
    d.window.Txtmassage.setText(u"old message");
    d.chooseDestination(u"銀行");

    EXPECT_EQ(d.window.Lstidbox.items, (std::vector<std::u16string>{u"taro", u"Hanako", u"hanako"}));
    EXPECT_EQ(d.window.Lstidbox.listIndex, -1);
    EXPECT_EQ(d.window.Txtmassage.text(), u"");
    EXPECT_EQ(d.window.Lblpassword.text(), u"");
    EXPECT_EQ(d.window.Lblbikouran.text(), u" ");
    EXPECT_EQ(d.window.combosentaku, u"銀行");
    EXPECT_EQ(d.window.inputkensu, 6);
}

TEST_F(BrowseTest, AnIdShowsItsDecodedPasswordAndAddress)
{
    d.chooseDestination(u"銀行");
    chooseId(u"taro");
    EXPECT_EQ(d.window.Lblpassword.text(), u"Pass1!");
    EXPECT_EQ(d.window.Lblbikouran.text(), u"taro@example.jp");

    // Letter case tells IDs apart; an empty password and address show as empty.
    chooseId(u"Hanako");
    EXPECT_EQ(d.window.Lblpassword.text(), u"");
    EXPECT_EQ(d.window.Lblbikouran.text(), u"");
    chooseId(u"hanako");
    EXPECT_EQ(d.window.Lblpassword.text(), u"h2");
}

TEST_F(BrowseTest, TheSameIdUnderAnotherDestinationShowsItsOwnPassword)
{
    d.chooseDestination(u"Amazon");
    chooseId(u"taro");
    EXPECT_EQ(d.window.Lblpassword.text(), u"amz");
}

TEST_F(BrowseTest, EveryChoiceReadsTheFileAsItIsNow)
{
    d.chooseDestination(u"銀行");
    d.services.windowsDir.write("psw.ini",
                                d.rowsFile({header(u"銀行", u"1"), entry(u"銀行", u"taro", u"new")}));
    chooseId(u"taro");
    EXPECT_EQ(d.window.Lblpassword.text(), u"new");
    EXPECT_EQ(d.window.inputkensu, 2);

    // An ID no longer in the file leaves the display as it was.
    chooseId(u"hanako");
    EXPECT_EQ(d.window.Lblpassword.text(), u"new");
}

TEST_F(BrowseTest, TheCopyButtonPutsWhatThePasswordBoxShowsOnTheClipboard)
{
    d.chooseDestination(u"銀行");
    chooseId(u"taro");
    const int clears = d.services.clipboard.clearCount();
    d.window.btnclipset_Click();
    EXPECT_EQ(d.services.clipboard.text(), u"Pass1!");
    EXPECT_EQ(d.services.clipboard.clearCount(), clears + 1);

    d.chooseDestination(u"Amazon");
    d.window.btnclipset_Click();
    EXPECT_EQ(d.services.clipboard.text(), u"");
}

// Every way a password reaches the clipboard, it leaves again after 30 seconds if it is still there;
// what another program copied in the meantime stays, and nothing is said either way.
TEST_F(BrowseTest, EveryPasswordCopiedLeavesTheClipboardAfterThirtySecondsUnlessReplaced)
{
    d.chooseDestination(u"銀行");
    chooseId(u"taro");
    auto& w = d.window;
    for (const auto& copy : std::vector<std::function<void()>>{
             [&] { w.btnclipset_Click(); }, [&] { w.Lblpassword_Copy(u"Pass1!"); },
             [&] { w.Txtpassnew_Copy(u"Pass1!"); }, [&] { w.Txtmassage_Copy(u"Pass1!"); }})
        for (const bool replaced : {false, true}) {
            copy();
            EXPECT_EQ(d.services.timer.waiting(), std::chrono::seconds(30));
            if (replaced)
                d.services.clipboard.setText(u"memo");
            d.services.timer.expire();
            EXPECT_EQ(d.services.clipboard.text(), replaced ? u"memo" : u"");
            EXPECT_EQ(w.Txtmassage.text(), u"");
        }
}

TEST_F(BrowseTest, ADoubleClickOpensTheShownEntryForEditingWithoutCountingAsAChange)
{
    d.openEntry(u"銀行", u"taro");

    EXPECT_TRUE(d.inEditMode());
    EXPECT_EQ(d.window.Txtnamae.text(), u"銀行");
    EXPECT_EQ(d.window.Txtidbox.text(), u"taro");
    EXPECT_EQ(d.window.Txtpassnew.text(), u"Pass1!");
    EXPECT_EQ(d.window.Txtbikouran.text(), u"taro@example.jp");
    EXPECT_EQ(d.window.changfrag, 0);
    EXPECT_EQ(d.window.sVshokifrg, 0);
    EXPECT_FALSE(d.window.cmbnamae.visible);
    EXPECT_EQ(d.window.Lstidbox.selectedItem(), u"taro");

    d.window.Txtidbox.setText(u"tarou");
    EXPECT_EQ(d.window.changfrag, 1);
}

TEST_F(BrowseTest, ADoubleClickOnAnIdTheFileNoLongerHoldsOpensEmptyPasswordAndAddressBoxes)
{
    // What the display boxes show when the ID's row has gone: their cleared texts, or the entry
    // clicked before.
    for (const std::u16string before : {u"", u"taro"}) {
        SCOPED_TRACE(std::string(before.begin(), before.end()));
        d.start({header(u"銀行", u"3"), entry(u"銀行", u"taro", u"Pass1!", u"taro@example.jp"),
                 entry(u"銀行", u"hanako", u"h2", u"h@x")});
        d.chooseDestination(u"銀行");
        if (!before.empty())
            chooseId(before);
        const auto lost =
            d.rowsFile({header(u"銀行", u"1"), entry(u"銀行", u"taro", u"Pass1!", u"taro@example.jp")});
        d.services.windowsDir.write("psw.ini", lost);
        chooseId(u"hanako");
        d.window.Lstidbox_DblClick();

        EXPECT_TRUE(d.inEditMode());
        EXPECT_EQ(d.window.Txtidbox.text(), u"hanako");
        EXPECT_EQ(d.window.Txtpassnew.text(), u"");
        EXPECT_EQ(d.window.Txtbikouran.text(), u"");
        // The user is asked for a password, not told of a space never typed.
        d.window.btnkousin_Click();
        EXPECT_EQ(d.window.Txtmassage.text(), u"記入漏れ");
        EXPECT_EQ(d.file(), lost);
    }
}

TEST_F(BrowseTest, ADoubleClickWithNoIdChosenDoesNotOpenEditMode)
{
    d.chooseDestination(u"銀行");
    d.window.Lstidbox_DblClick();
    EXPECT_FALSE(d.inEditMode());
    EXPECT_EQ(d.window.Txtmassage.text(), u"LISTをチョイス");
}

} // namespace
} // namespace orvanta::test
