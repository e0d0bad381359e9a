// The Windows window, driven as a user drives it: what each action sends to the core, what the window
// shows afterwards and the exact bytes of the files it leaves.
#include "ViewDriver.h"
#include "platform/DrivesWin32.h"
#include "platform/HostFileSystem.h"
#include "platform/WidthFold.h"
#include "view_win32/Layout.h"
#include "view_win32/Win32Clipboard.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <imm.h>
#include <iterator>
#include <tuple>

namespace orvanta::test {
namespace {

using app::ControlId;
using app::ControlKind;

/// Two destinations, three entries: the file most tests start from.
std::string twoDestinations(WindowDriver& d)
{
    return d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                       entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                       entry(u"銀行", u"1234", u"pin0")});
}

class Win32ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = twoDestinations(v.d);
        ASSERT_TRUE(v.start(before));
    }

    ViewDriver v;
    std::string before;
};

// --- the window built from the design table -----------------------------------------------------

TEST(Win32LayoutTest, ConvertsTwipsAtEveryScale)
{
    struct Case {
        int twips;
        UINT dpi;
        int pixels;
    };
    // The window's width, a control's left edge and a line's end at 100 %, 125 %, 150 % and 200 %.
    for (const auto& c :
         {Case{8145, 96, 543}, Case{8145, 120, 679}, Case{8145, 144, 815}, Case{8145, 192, 1086},
          Case{840, 96, 56}, Case{840, 192, 112}, Case{7440, 144, 744}, Case{15, 96, 1}, Case{0, 192, 0}})
        EXPECT_EQ(view_win32::pixelsAt(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;

    EXPECT_EQ(view_win32::fontHeightAt(9, 96), -12);
    EXPECT_EQ(view_win32::fontHeightAt(9, 192), -24);
    EXPECT_EQ(view_win32::fontHeightAt(8.25, 96), -11);
    EXPECT_EQ(view_win32::fontHeightAt(18, 144), -36);
}

TEST_F(Win32ViewTest, BuildsEveryControlFromTheDesignTable)
{
    const UINT dpi = v.view.dpi();
    RECT client{};
    GetClientRect(v.view.window(), &client);
    EXPECT_EQ(client.right, view_win32::pixelsAt(app::kClientWidthTwips, dpi));
    EXPECT_EQ(client.bottom, view_win32::pixelsAt(app::kClientHeightTwips, dpi));
    EXPECT_EQ(view_win32::windowText(v.view.window()), app::kWindowCaption);

    for (const auto& d : app::controlTable()) {
        SCOPED_TRACE(std::string(d.name));
        HWND control = v.control(d.id);
        if (d.kind == ControlKind::Line || d.kind == ControlKind::Picture) {
            EXPECT_EQ(control, nullptr) << "drawn by the window itself";
            continue;
        }
        ASSERT_NE(control, nullptr);
        wchar_t className[32]{};
        GetClassNameW(control, className, 32);
        const std::wstring expectedClass = d.kind == ControlKind::ComboBox  ? L"ComboBox"
                                           : d.kind == ControlKind::ListBox ? L"ListBox"
                                           : d.kind == ControlKind::Button  ? L"Button"
                                           : d.kind == ControlKind::Label   ? L"Static"
                                                                            : L"Edit";
        EXPECT_EQ(_wcsicmp(className, expectedClass.c_str()), 0);

        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(HWND_DESKTOP, v.view.window(), reinterpret_cast<POINT*>(&place), 2);
        const RECT designed = view_win32::placeAt(d, dpi);
        EXPECT_EQ(place.left, designed.left);
        EXPECT_EQ(place.top, designed.top);
        EXPECT_EQ(place.right, designed.right);
        if (d.kind != ControlKind::ComboBox) { // its window reaches down over its list
            EXPECT_EQ(place.bottom, designed.bottom);
        }

        if (d.kind == ControlKind::Button || d.kind == ControlKind::Label) {
            EXPECT_EQ(v.shown(d.id), d.caption);
        }
        // Every control is shown exactly when the core shows it: the initial screen.
        EXPECT_EQ(v.visible(d.id), v.window.control(d.id).visible);
    }
    EXPECT_EQ(v.listItems(ControlId::cmbnamae), (std::vector<std::u16string>{u"Mail", u"銀行"}));
    EXPECT_TRUE(v.view.pictureShown() || v.window.pictureFile().empty());
}

TEST_F(Win32ViewTest, MovedToAMonitorAt200PercentKeepsItsSizeInInches)
{
    RECT suggested{0, 0, 1200, 800};
    SendMessageW(v.view.window(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(v.view.dpi(), 192U);

    for (const auto& d : app::controlTable()) {
        HWND control = v.control(d.id);
        if (!control)
            continue;
        SCOPED_TRACE(std::string(d.name));
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(HWND_DESKTOP, v.view.window(), reinterpret_cast<POINT*>(&place), 2);
        const RECT designed = view_win32::placeAt(d, 192);
        EXPECT_EQ(place.left, designed.left);
        EXPECT_EQ(place.top, designed.top);
        EXPECT_EQ(place.right - place.left, designed.right - designed.left);

        LOGFONTW font{};
        ASSERT_TRUE(
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font));
        EXPECT_EQ(font.lfHeight, view_win32::fontHeightAt(v.view.captionPoints(d.id), 192));
    }
    // Still the same window: the handlers answer as before.
    v.choose(ControlId::cmbnamae, u"Mail");
    EXPECT_EQ(v.listItems(ControlId::Lstidbox), (std::vector<std::u16string>{u"taro", u"hanako"}));
}

TEST_F(Win32ViewTest, ShrinksOnlyTheCaptionsThatWouldNotFit)
{
    for (const auto& d : app::controlTable()) {
        if (d.kind != ControlKind::Label)
            continue;
        const double designed = d.fontPoints > 0 ? d.fontPoints : 9;
        EXPECT_LE(v.view.captionPoints(d.id), designed) << d.name;
        EXPECT_GE(v.view.captionPoints(d.id), 7) << d.name;
    }
}

TEST_F(Win32ViewTest, TabWalksTheDesignOrderOverTheControlsShown)
{
    SetFocus(v.control(ControlId::Txtmassage));
    // The initial screen: the message, the destinations, the IDs, then the buttons and the display boxes.
    const std::vector<ControlId> expected{
        ControlId::cmbnamae,    ControlId::Lstidbox,    ControlId::btnnewmode,
        ControlId::btnload,     ControlId::btnunload,   ControlId::btnclipset,
        ControlId::Lblpassword, ControlId::Lblbikouran, ControlId::Txtmassage};
    for (ControlId next : expected) {
        EXPECT_TRUE(v.press(GetFocus(), VK_TAB));
        HWND focused = GetFocus();
        EXPECT_TRUE(focused == v.control(next) || GetParent(focused) == v.control(next))
            << "expected " << app::design(next).name;
    }
}

TEST_F(Win32ViewTest, FocusPassesToTheButtonThatTookAHiddenOnesPlace)
{
    SetFocus(v.control(ControlId::btnnewmode));
    v.click(ControlId::btnnewmode);
    EXPECT_FALSE(v.visible(ControlId::btnnewmode));
    EXPECT_EQ(GetFocus(), v.control(ControlId::btnnew));
}

// --- every action reaches the core ------------------------------------------------------------------

TEST_F(Win32ViewTest, RegistersAnEntryTypedIntoTheBoxes)
{
    v.click(ControlId::btnnewmode);
    ASSERT_TRUE(v.visible(ControlId::btnnew));
    v.setText(ControlId::cmbnamae, u"ショップ");
    v.setText(ControlId::Txtidbox, u"shop-id");
    v.type(ControlId::Txtpassnew, u"pw");
    v.type(ControlId::Txtbikouran, u"a@b.jp");
    EXPECT_EQ(v.window.Txtpassnew.text(), u"pw");
    EXPECT_EQ(v.window.cmbnamae.text(), u"ショップ");
    EXPECT_EQ(v.window.Txtidbox.text(), u"shop-id");
    EXPECT_EQ(v.window.Txtbikouran.text(), u"a@b.jp");
    v.click(ControlId::btnnew);

    EXPECT_EQ(v.shown(ControlId::Txtmassage), u"登録完了ショップの shop-id:pw");
    EXPECT_EQ(v.file(),
              v.d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                            entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                            entry(u"銀行", u"1234", u"pin0"), header(u"ショップ", u"1"),
                            entry(u"ショップ", u"shop-id", u"pw", u"a@b.jp")}));
    EXPECT_EQ(v.listItems(ControlId::cmbnamae), (std::vector<std::u16string>{u"Mail", u"銀行", u"ショップ"}));
    // The result screen: the registration boxes gone, the backup buttons too.
    EXPECT_TRUE(v.visible(ControlId::btnnewmode));
    EXPECT_FALSE(v.visible(ControlId::btnload));
    EXPECT_FALSE(v.visible(ControlId::Txtpassnew));
}

TEST_F(Win32ViewTest, BrowsesAnEntryAndChoosingItAgainShowsItAgain)
{
    v.choose(ControlId::cmbnamae, u"Mail");
    EXPECT_EQ(v.listItems(ControlId::Lstidbox), (std::vector<std::u16string>{u"taro", u"hanako"}));
    v.choose(ControlId::Lstidbox, u"taro");
    EXPECT_EQ(v.shown(ControlId::Lblpassword), u"abc123");
    EXPECT_EQ(v.shown(ControlId::Lblbikouran), u"taro@example.jp");

    // A click on the ID already chosen runs the choice again, as Windows reports every click.
    v.setText(ControlId::Lblpassword, u"pasted");
    v.choose(ControlId::Lstidbox, u"taro");
    EXPECT_EQ(v.shown(ControlId::Lblpassword), u"abc123");
    EXPECT_EQ(v.file(), before);
}

TEST_F(Win32ViewTest, UpdatesAnEntryOpenedByDoubleClick)
{
    v.choose(ControlId::cmbnamae, u"Mail");
    v.doubleClick(ControlId::Lstidbox, u"taro");
    ASSERT_TRUE(v.visible(ControlId::btnkousin));
    EXPECT_EQ(v.shown(ControlId::Txtnamae), u"Mail");
    EXPECT_EQ(v.shown(ControlId::Txtidbox), u"taro");
    EXPECT_EQ(v.shown(ControlId::Txtpassnew), u"abc123");
    // The release of the mouse button over the list, which has hidden itself, chooses nothing.
    v.notify(ControlId::Lstidbox, LBN_SELCHANGE);
    EXPECT_TRUE(v.visible(ControlId::btnkousin));

    v.setText(ControlId::Txtpassnew, u"new1");
    v.setText(ControlId::Txtbikouran, u"");
    v.click(ControlId::btnkousin);

    EXPECT_EQ(v.shown(ControlId::Txtmassage), u"更新完了Mailの taro:new1");
    EXPECT_EQ(v.file(), v.d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"new1"),
                                      entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1"),
                                      entry(u"銀行", u"1234", u"pin0")}));
}

TEST_F(Win32ViewTest, DeletesAnEntryOpenedByDoubleClick)
{
    v.choose(ControlId::cmbnamae, u"銀行");
    v.doubleClick(ControlId::Lstidbox, u"1234");
    v.click(ControlId::btndelete);

    EXPECT_EQ(v.shown(ControlId::Txtmassage), u"削除完了銀行の 1234:pin0");
    EXPECT_EQ(v.file(),
              v.d.rowsFile({header(u"Mail", u"2"), entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                            entry(u"Mail", u"hanako", u"Xy9!")}));
    EXPECT_EQ(v.listItems(ControlId::cmbnamae), std::vector<std::u16string>{u"Mail"});
}

TEST_F(Win32ViewTest, DoubleClickWithoutAChosenIdSaysSo)
{
    v.notify(ControlId::Lstidbox, LBN_DBLCLK);
    EXPECT_EQ(v.shown(ControlId::Txtmassage), u"LISTをチョイス");
    EXPECT_FALSE(v.visible(ControlId::btnkousin));
}

TEST_F(Win32ViewTest, GeneratesAPasswordIntoTheBox)
{
    v.d.services.random.setValues({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    v.click(ControlId::btnnewmode);
    v.setText(ControlId::txtketasu, u"8");
    v.click(ControlId::btncleate);

    const auto generated = v.shown(ControlId::Txtpassnew);
    EXPECT_EQ(generated.size(), 8U);
    EXPECT_EQ(generated, v.window.Txtpassnew.text());
    // The same draws give the same password when the core is driven directly.
    WindowDriver direct;
    direct.services.random.setValues({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    direct.window.btnnewmode_Click();
    direct.window.txtketasu.setText(u"8");
    direct.window.btncleate_Click();
    EXPECT_EQ(generated, direct.window.Txtpassnew.text());
    EXPECT_EQ(v.file(), before);
}

TEST_F(Win32ViewTest, KeystrokesGoThroughTheBoxesFilters)
{
    constexpr std::u16string_view kNotUsable = u"入力可能文字ではありません";
    constexpr std::u16string_view kDisplayOnly =
        u"モードを切り替えないと、この項目は入力できません：登録モード or 編集モード";
    struct Case {
        const char* name;
        bool registrationMode;
        ControlId box;
        std::u16string_view typed;
        std::u16string_view shown;
        std::u16string_view message;
    };
    const Case cases[] = {
        {"PasswordCharacters", true, ControlId::Txtpassnew, u"aZ9!{", u"aZ9!{", u""},
        {"AtSignInPassword", true, ControlId::Txtpassnew, u"a@", u"a", kNotUsable},
        {"EnterInPassword", true, ControlId::Txtpassnew, u"a\r", u"a", kNotUsable},
        {"BackspaceInPassword", true, ControlId::Txtpassnew, u"ab\b", u"ab", kNotUsable},
        {"DoubleByteInPassword", true, ControlId::Txtpassnew, u"aあ", u"a", kNotUsable},
        {"BeyondTheCodePage", true, ControlId::Txtpassnew, u"a😀", u"a", kNotUsable},
        {"AtSignInAddress", true, ControlId::Txtbikouran, u"x@y.jp", u"x@y.jp", u""},
        {"DigitsInLength", true, ControlId::txtketasu, u"3", u"123", u""},
        {"TypingIntoTheShownPassword", false, ControlId::Lblpassword, u"x", u"", kDisplayOnly},
        {"TypingIntoTheShownAddress", false, ControlId::Lblbikouran, u"x", u" ", kDisplayOnly},
        {"TypingIntoTheMessage", false, ControlId::Txtmassage, u"x", u"この項目は入力できません",
         u"この項目は入力できません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewDriver w;
        ASSERT_TRUE(w.start(before));
        if (c.registrationMode)
            w.click(ControlId::btnnewmode);
        const auto end = GetWindowTextLengthW(w.control(c.box));
        SendMessageW(w.control(c.box), EM_SETSEL, static_cast<WPARAM>(end), end); // the caret at the end
        w.type(c.box, c.typed);
        EXPECT_EQ(w.shown(c.box), c.shown);
        EXPECT_EQ(w.window.control(c.box).text(), c.shown);
        EXPECT_EQ(w.shown(ControlId::Txtmassage), c.message);
        EXPECT_EQ(w.file(), before);
    }
}

TEST_F(Win32ViewTest, TextPastedIntoADisplayBoxGivesWayToTheProgramsText)
{
    v.choose(ControlId::cmbnamae, u"Mail");
    v.choose(ControlId::Lstidbox, u"hanako");
    v.setText(ControlId::Lblpassword, u"something else");
    EXPECT_EQ(v.shown(ControlId::Lblpassword), u"Xy9!");
    EXPECT_EQ(v.window.Lblpassword.text(), u"Xy9!");
}

TEST_F(Win32ViewTest, F1ShowsTheHelpFileFromAnyControl)
{
    v.d.services.rootDir.write("ORVANTA.HLP", "help");
    EXPECT_TRUE(v.press(v.control(ControlId::Lstidbox), VK_F1));
    ASSERT_EQ(v.d.services.help.openedPaths().size(), 1U);
    EXPECT_EQ(v.d.services.help.openedPaths()[0], v.d.services.rootDir.file("ORVANTA.HLP"));

    // A key that is no help key goes on to the control.
    EXPECT_FALSE(v.press(v.control(ControlId::Lstidbox), VK_F2));
}

TEST_F(Win32ViewTest, F1WithoutTheHelpFileSaysWhere)
{
    SendMessageW(v.view.window(), WM_KEYDOWN, VK_F1, 1);
    EXPECT_EQ(v.shown(ControlId::Txtmassage), u"ヘルプファイルが見つかりません：" + v.window.helpFile());
    EXPECT_TRUE(v.d.services.help.openedPaths().empty());
}

// --- the clipboard and closing ----------------------------------------------------------------------

TEST(Win32ViewClipboardTest, CopiesThePasswordAndTakesItOffWhenTheWindowCloses)
{
    view_win32::Win32Clipboard clipboard;
    ViewDriver v(&clipboard);
    ASSERT_TRUE(v.start(twoDestinations(v.d)));
    v.choose(ControlId::cmbnamae, u"Mail");
    v.choose(ControlId::Lstidbox, u"taro");
    v.click(ControlId::btnclipset);
    EXPECT_EQ(clipboard.text(), u"abc123");

    SendMessageW(v.view.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(v.view.window(), nullptr);
    EXPECT_EQ(clipboard.text(), u"");
}

TEST(Win32ViewClipboardTest, ClosingLeavesWhatAnotherProgramCopiedSince)
{
    view_win32::Win32Clipboard clipboard;
    ViewDriver v(&clipboard);
    ASSERT_TRUE(v.start(twoDestinations(v.d)));
    v.choose(ControlId::cmbnamae, u"Mail");
    v.choose(ControlId::Lstidbox, u"taro");
    v.click(ControlId::btnclipset);
    view_win32::Win32Clipboard other;
    other.setText(u"someone else's text");

    SendMessageW(v.view.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(clipboard.text(), u"someone else's text");
}

// A password copied out of its display by hand goes the way of クリップ: marked as a secret, and taken
// off the clipboard when the window closes. Cutting copies too and the display keeps its text; with
// nothing selected the clipboard keeps what it held.
TEST(Win32ViewClipboardTest, APasswordCopiedOutOfItsDisplayIsASecretToo)
{
    view_win32::Win32Clipboard clipboard;
    ViewDriver v(&clipboard);
    ASSERT_TRUE(v.start(twoDestinations(v.d)));
    v.choose(ControlId::cmbnamae, u"Mail");
    v.choose(ControlId::Lstidbox, u"taro");
    HWND box = v.control(ControlId::Lblpassword);
    for (const auto& [message, key, from, to, copied] :
         {std::tuple{WM_COPY, 0, 2, 2, u"other"}, std::tuple{WM_CHAR, 3, 0, 3, u"abc"},
          std::tuple{WM_COPY, 0, 2, 6, u"c123"}, std::tuple{WM_CHAR, 24, 0, -1, u"abc123"},
          std::tuple{WM_CUT, 0, 1, 2, u"b"}}) {
        view_win32::Win32Clipboard().setText(u"other");
        SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(from), to);
        SendMessageW(box, message, static_cast<WPARAM>(key), 1);
        v.pump();
        EXPECT_EQ(clipboard.text(), copied) << message << " " << key;
        EXPECT_TRUE(
            IsClipboardFormatAvailable(RegisterClipboardFormatW(view_win32::Win32Clipboard::kHistory)));
        EXPECT_EQ(v.shown(ControlId::Lblpassword), u"abc123");
    }
    SendMessageW(v.view.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(clipboard.text(), u"");
}

// No input method composes in the password and address boxes, which take half-width text only; the
// destination box keeps it for Japanese names.
TEST_F(Win32ViewTest, TheInputMethodStaysOffInThePasswordAndAddressBoxes)
{
    for (const auto& [id, composes] :
         {std::pair{ControlId::Txtpassnew, false}, std::pair{ControlId::Txtbikouran, false},
          std::pair{ControlId::Txtnamae, true}}) {
        HIMC context = ImmGetContext(v.control(id));
        EXPECT_EQ(context != nullptr, composes) << app::design(id).name;
        ImmReleaseContext(v.control(id), context);
    }
}

// --- backup to the floppy disk and restore --------------------------------------------------------

class Win32FloppyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* letter = std::getenv("ORVANTA_TEST_FLOPPY");
        if (!letter || !*letter)
            GTEST_SKIP() << "no floppy drive (ORVANTA_TEST_FLOPPY)";
        root = std::string(1, letter[0]) + ":\\";
        // Wine names its floppy drive " (A:)"; Japanese Windows names it as the shell does here.
        v.d.services.drives.setDrive(letter[0], root, DRIVE_REMOVABLE,
                                     u"3.5 インチ FD (" + std::u16string(1, letter[0]) + u":)");
        removeFiles();
    }
    void TearDown() override
    {
        if (!root.empty())
            removeFiles();
    }
    void removeFiles() const
    {
        DeleteFileA((root + "psw.bkp").c_str());
        DeleteFileA((root + "20240401123456_psw.csv").c_str());
    }
    std::string floppyFile(const std::string& name) const
    {
        std::ifstream in(root + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    ViewDriver v;
    std::string root;
};

TEST_F(Win32FloppyTest, BacksUpToTheFloppyDiskAndRestoresFromIt)
{
    const std::string original = twoDestinations(v.d);
    ASSERT_TRUE(v.start(original));
    v.click(ControlId::btnunload);

    EXPECT_TRUE(v.shown(ControlId::Txtmassage).starts_with(u"退避＆一覧書出し完了（保存先："));
    const std::string ginko = "\x8b\xe2\x8d\x73"; // 銀行 in Shift_JIS
    const std::string mail =
        std::get<std::string>(v.d.services.codePage.encode(v.window.encodeText(u"taro@example.jp")));
    const std::string encodedEmpty =
        std::get<std::string>(v.d.services.codePage.encode(v.window.encodeText(u"")));
    EXPECT_EQ(floppyFile("psw.bkp"), "\"hyoujimark\",\"Mail\",\"\",\"2\",\" \"\r\n"
                                     "\"Mail\",\"taro\",\"abc123\",\" \",\"" +
                                         mail +
                                         "\"\r\n"
                                         "\"Mail\",\"hanako\",\"Xy9!\",\" \",\"" +
                                         encodedEmpty +
                                         "\"\r\n"
                                         "\"hyoujimark\",\"" +
                                         ginko +
                                         "\",\"\",\"1\",\" \"\r\n"
                                         "\"" +
                                         ginko + "\",\"1234\",\"pin0\",\" \",\"" + encodedEmpty + "\"\r\n");
    EXPECT_FALSE(floppyFile("20240401123456_psw.csv").empty());
    EXPECT_EQ(v.file(), original);

    // The data file spoilt behind the window's back: the first ロード reads it again and says so, the
    // second loads the backup over it.
    v.d.services.windowsDir.write("psw.ini",
                                  v.d.rowsFile({header(u"Mail", u"1"), entry(u"Mail", u"x", u"y")}));
    v.click(ControlId::btnload);
    EXPECT_EQ(v.shown(ControlId::Txtmassage),
              u"psw.ini が他で変更されていました。ロードを中止し、読み直しました。再度操作して下さい。");
    v.click(ControlId::btnload);
    EXPECT_EQ(v.shown(ControlId::Txtmassage), u"ＬＯＡＤ完了");
    // Restoring keeps every row; only the header rows' blank password comes back empty.
    EXPECT_EQ(v.file(), v.d.rowsFile({{u"hyoujimark", u"Mail", u"", u"2", u" ", false},
                                      entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                                      entry(u"Mail", u"hanako", u"Xy9!"),
                                      {u"hyoujimark", u"銀行", u"", u"1", u" ", false},
                                      entry(u"銀行", u"1234", u"pin0")}));
    EXPECT_EQ(v.listItems(ControlId::cmbnamae), (std::vector<std::u16string>{u"Mail", u"銀行"}));
}

// Wine names a floppy drive " (A:)", without the "3.5 インチ FD" of Explorer's name: the backup then
// finds it, through the system's drives and files, as the first removable drive that holds a disk.
TEST_F(Win32FloppyTest, BacksUpToAFloppyDriveWithoutItsExplorerName)
{
    platform::DrivesWin32 drives;
    if (platform::toHalfwidth(drives.displayName(root)).find(u"ｲﾝﾁ FD (") != std::u16string::npos)
        GTEST_SKIP() << "the system names this drive as a floppy drive";
    platform::HostFileSystem files(drives);
    auto& s = v.d.services;
    app::MainWindow window(platform::Services{s.registry, s.env, files, s.codePage, s.clipboard, s.clock,
                                              s.random, s.help, drives});
    s.windowsDir.write("psw.ini", twoDestinations(v.d));
    // Missing the floppy drive, the backup would go to the working directory's drive (here C:).
    ASSERT_TRUE(SetCurrentDirectoryW(std::filesystem::path(s.rootDir.path()).wstring().c_str()));
    window.Form_Load();
    window.btnunload_Click();
    EXPECT_TRUE(window.Txtmassage.text().starts_with(u"退避＆一覧書出し完了（保存先："));
    EXPECT_NE(floppyFile("psw.bkp").find("\"Mail\",\"taro\",\"abc123\","), std::string::npos);
}

} // namespace
} // namespace orvanta::test
