// The Windows window, driven as a user drives it: what each action sends to the core, what the window
// shows afterwards and the exact bytes of the files it leaves.
#include "ViewDriver.h"
#include "host/Utf8.h"
#include "host/WidthFold.h"
#include "host/windows/HostDrives.h"
#include "host/windows/HostFileSystem.h"
#include "support/EveryMessage.h"
#include "view/win32/Handles.h"
#include "view/win32/Layout.h"
#include "view/win32/Picture.h"
#include "view/win32/Win32Clipboard.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <imm.h>
#include <iterator>
#include <tuple>

namespace orvanta::test {
namespace {

using form::ControlId;
using form::ControlKind;

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

/// A control's place in the window's client area, as the window shows it.
RECT placeOf(HWND control, HWND window)
{
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

/// The height in pixels of the characters of the font a control shows its text in.
int fontPixels(HWND control)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return -font.lfHeight;
}

TEST_F(Win32ViewTest, BuildsEveryControlFromTheDesignTable)
{
    // The places are the design table's twips at 100 %, 15 twips to the pixel.
    ASSERT_EQ(GetDpiForWindow(v.view.window()), 96U);
    RECT client{};
    GetClientRect(v.view.window(), &client);
    EXPECT_EQ(client.right, 543);  // 8145 twips
    EXPECT_EQ(client.bottom, 356); // 5340 twips
    EXPECT_EQ(view_win32::windowText(v.view.window()), form::kWindowCaption);

    // One control of each kind: the system's own control for it, where the design puts it.
    struct Expected {
        ControlId id;
        const wchar_t* className;
        RECT place; ///< a combo box's bottom is its list's, which the design does not give
    };
    for (const auto& e : {Expected{ControlId::cmbnamae, L"ComboBox", {56, 64, 489, 0}},
                          Expected{ControlId::Lstidbox, L"ListBox", {56, 104, 489, 132}},
                          Expected{ControlId::btnnewmode, L"Button", {56, 232, 129, 257}},
                          Expected{ControlId::Txtmassage, L"Edit", {32, 264, 513, 282}},
                          Expected{ControlId::Lblpassword, L"Edit", {56, 160, 489, 178}},
                          Expected{ControlId::lblsetumei1, L"Static", {32, 48, 361, 65}}}) {
        SCOPED_TRACE(std::string(form::design(e.id).name));
        HWND control = v.control(e.id);
        ASSERT_NE(control, nullptr);
        wchar_t className[32]{};
        GetClassNameW(control, className, 32);
        EXPECT_EQ(_wcsicmp(className, e.className), 0);
        const RECT place = placeOf(control, v.view.window());
        EXPECT_EQ(place.left, e.place.left);
        EXPECT_EQ(place.top, e.place.top);
        EXPECT_EQ(place.right, e.place.right);
        if (e.place.bottom != 0) {
            EXPECT_EQ(place.bottom, e.place.bottom);
        }
    }

    for (const auto& d : form::controlTable()) {
        SCOPED_TRACE(std::string(d.name));
        HWND control = v.control(d.id);
        if (d.kind == ControlKind::Line || d.kind == ControlKind::Picture) {
            EXPECT_EQ(control, nullptr) << "drawn by the window itself";
            continue;
        }
        ASSERT_NE(control, nullptr);
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
    struct Shown {
        RECT place;
        int font;
    };
    std::vector<Shown> at100;
    for (const auto& d : form::controlTable())
        if (HWND control = v.control(d.id))
            at100.push_back({placeOf(control, v.view.window()), fontPixels(control)});
    // The password's text ends where クリップ begins (6360 of the display's 7335 twips), at every scale.
    const auto passwordMargin = [this] {
        return HIWORD(SendMessageW(v.control(ControlId::Lblpassword), EM_GETMARGINS, 0, 0));
    };
    EXPECT_EQ(passwordMargin(), 65);

    RECT suggested{0, 0, 1200, 800};
    SendMessageW(v.view.window(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));

    // Twice the pixels of 100 %, give or take the pixel each rounds to.
    auto next = at100.begin();
    for (const auto& d : form::controlTable()) {
        HWND control = v.control(d.id);
        if (!control)
            continue;
        SCOPED_TRACE(std::string(d.name));
        const auto& shownAt100 = *next++;
        const RECT place = placeOf(control, v.view.window());
        EXPECT_NEAR(place.left, 2 * shownAt100.place.left, 1);
        EXPECT_NEAR(place.top, 2 * shownAt100.place.top, 1);
        EXPECT_NEAR(place.right - place.left, 2 * (shownAt100.place.right - shownAt100.place.left), 2);
        // A caption shrunk to fit its label may come out a pixel smaller again.
        EXPECT_NEAR(fontPixels(control), 2 * shownAt100.font, 2);
    }
    EXPECT_EQ(passwordMargin(), 130);
    // Still the same window: the handlers answer as before.
    v.choose(ControlId::cmbnamae, u"Mail");
    EXPECT_EQ(v.listItems(ControlId::Lstidbox), (std::vector<std::u16string>{u"taro", u"hanako"}));
}

TEST_F(Win32ViewTest, ShrinksOnlyTheCaptionsThatWouldNotFit)
{
    // At 100 %, 96 pixels to the inch and 72 points: a point is 4/3 of a pixel.
    ASSERT_EQ(GetDpiForWindow(v.view.window()), 96U);
    for (const auto& d : form::controlTable()) {
        if (d.kind != ControlKind::Label)
            continue;
        const double designed = d.fontPoints > 0 ? d.fontPoints : 9;
        const int shown = fontPixels(v.control(d.id));
        EXPECT_LE(shown, std::lround(designed * 4 / 3)) << d.name;
        EXPECT_GE(shown, std::lround(7.0 * 4 / 3)) << d.name;
    }
}

// Every message the program composes, with the longest names it meets, fits the message box whole in
// the box's own font: the edit control's formatting rectangle is the room its text has.
TEST_F(Win32ViewTest, EveryMessageOfTheProgramFitsTheMessageBox)
{
    HWND box = v.control(ControlId::Txtmassage);
    RECT room{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    HDC dc = GetDC(box);
    const auto old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    for (const auto& message : everyMessage()) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, view_win32::wide(message), static_cast<int>(message.size()), &extent);
        EXPECT_LE(extent.cx, room.right - room.left) << host::toUtf8(message).value_or("");
    }
    SelectObject(dc, old);
    ReleaseDC(box, dc);
}

/// Where a control paints, in the window's client area: its place, cut to its window region if it has
/// one.
RECT paintedArea(HWND control, HWND window)
{
    RECT area{};
    if (GetWindowRgnBox(control, &area) == ERROR)
        GetClientRect(control, &area);
    MapWindowPoints(control, window, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

TEST_F(Win32ViewTest, NoControlPaintsOverALabelsCaption)
{
    // On the initial screen and in registration mode, which shows the label of usable characters.
    for (const bool registration : {false, true}) {
        if (registration)
            v.click(ControlId::btnnewmode);
        for (const auto& d : form::controlTable()) {
            if (d.kind != ControlKind::Label || !v.visible(d.id))
                continue;
            SCOPED_TRACE(std::string(d.name));
            const RECT caption = paintedArea(v.control(d.id), v.view.window());
            // A label paints its caption, or nothing at all when it has none.
            EXPECT_EQ(IsRectEmpty(&caption) != FALSE, d.caption.empty());
            for (HWND above = GetWindow(v.control(d.id), GW_HWNDPREV); above;
                 above = GetWindow(above, GW_HWNDPREV)) {
                const RECT covering = paintedArea(above, v.view.window());
                RECT overlap{};
                EXPECT_FALSE(IsWindowVisible(above) && IntersectRect(&overlap, &caption, &covering))
                    << "covered by the control " << GetDlgCtrlID(above);
            }
        }
    }
}

TEST_F(Win32ViewTest, KeepsItsOwnColoursUnderADarkSchemeAndFollowsHighContrast)
{
    const int roles[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
    COLORREF saved[std::size(roles)];
    std::transform(std::begin(roles), std::end(roles), saved, GetSysColor);
    const COLORREF dark[] = {RGB(32, 32, 32), RGB(240, 240, 240), RGB(45, 45, 45), RGB(230, 230, 230)};
    SetSysColors(static_cast<int>(std::size(roles)), roles, dark);
    SendMessageW(v.view.window(), WM_SYSCOLORCHANGE, 0, 0);

    // The text and background colours each control is drawn with.
    auto colours = [&](ControlId id) {
        const auto kind = form::design(id).kind;
        const UINT message = kind == ControlKind::Label     ? WM_CTLCOLORSTATIC
                             : kind == ControlKind::Button  ? WM_CTLCOLORBTN
                             : kind == ControlKind::ListBox ? WM_CTLCOLORLISTBOX
                                                            : WM_CTLCOLOREDIT;
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(v.view.window(), message, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(v.control(id)));
        const std::pair result{GetTextColor(dc), GetBkColor(dc)};
        DeleteDC(dc);
        return result;
    };
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(colours(ControlId::lblsetumei1).first, black);
    EXPECT_EQ(colours(ControlId::Label2).first, RGB(0, 0, 255));
    EXPECT_EQ(colours(ControlId::Txtmassage), std::pair(black, white));
    EXPECT_EQ(colours(ControlId::Lstidbox), std::pair(black, white));
    EXPECT_EQ(colours(ControlId::Lblpassword), std::pair(black, RGB(255, 192, 192)));

    HIGHCONTRASTW contrast{sizeof contrast, HCF_HIGHCONTRASTON, nullptr};
    const bool switched = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, 0);
    SendMessageW(v.view.window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    if (switched) {
        EXPECT_TRUE(v.view.systemColours());
        EXPECT_EQ(colours(ControlId::Label2).first, dark[3]);
        EXPECT_EQ(colours(ControlId::Lblpassword), std::pair(dark[1], dark[0]));
        contrast.dwFlags = 0;
        SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, 0);
    }
    SetSysColors(static_cast<int>(std::size(roles)), roles, saved);
    SendMessageW(v.view.window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_FALSE(v.view.systemColours());
}

TEST_F(Win32ViewTest, EnterClicksTheFocusedButtonAndOpensTheChosenId)
{
    SetFocus(v.control(ControlId::btnnewmode));
    EXPECT_TRUE(v.press(GetFocus(), VK_RETURN));
    EXPECT_TRUE(v.visible(ControlId::btnnew));
    // Space is the button's own key: it clicks as it comes up.
    SetFocus(v.control(ControlId::btnmordori));
    EXPECT_FALSE(v.press(GetFocus(), VK_SPACE));
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(GetFocus(), WM_KEYUP, VK_SPACE, 0xC0390001);
    ViewDriver::pump();
    EXPECT_TRUE(v.visible(ControlId::btnnewmode));

    v.choose(ControlId::cmbnamae, u"Mail");
    v.choose(ControlId::Lstidbox, u"hanako");
    SetFocus(v.control(ControlId::Lstidbox));
    EXPECT_TRUE(v.press(GetFocus(), VK_RETURN));
    EXPECT_TRUE(v.visible(ControlId::btnkousin));
    EXPECT_EQ(v.shown(ControlId::Txtidbox), u"hanako");
    // In a box, Enter is a keystroke for its filter.
    EXPECT_FALSE(v.press(v.control(ControlId::Txtpassnew), VK_RETURN));
}

TEST(Win32ListKeysTest, TheKeyboardAloneChoosesEveryIdAndShowsItsPassword)
{
    struct Case {
        const char* name;
        std::u16string_view destination;
        std::vector<WPARAM> before; ///< keys pressed before the destination is chosen again
        std::vector<WPARAM> keys;
        std::u16string_view chosen;
        std::u16string_view password;
    };
    const Case cases[] = {
        {"DownChoosesTheFirst", u"Mail", {}, {VK_DOWN}, u"taro", u"abc123"},
        {"SpaceChoosesTheFirst", u"Mail", {}, {VK_SPACE}, u"taro", u"abc123"},
        {"HomeChoosesTheFirst", u"Mail", {}, {VK_HOME}, u"taro", u"abc123"},
        {"DownMovesOn", u"Mail", {}, {VK_DOWN, VK_DOWN}, u"hanako", u"Xy9!"},
        {"EndMovesToTheLast", u"Mail", {}, {VK_SPACE, VK_END}, u"hanako", u"Xy9!"},
        {"UpMovesBack", u"Mail", {}, {VK_HOME, VK_END, VK_UP}, u"taro", u"abc123"},
        {"HomeMovesToTheFirst", u"Mail", {}, {VK_DOWN, VK_END, VK_HOME}, u"taro", u"abc123"},
        {"SpaceKeepsTheChoice", u"Mail", {}, {VK_DOWN, VK_DOWN, VK_SPACE}, u"hanako", u"Xy9!"},
        {"OneIdByDown", u"銀行", {}, {VK_DOWN}, u"1234", u"pin0"},
        {"OneIdBySpace", u"銀行", {}, {VK_SPACE}, u"1234", u"pin0"},
        {"OneIdByHome", u"銀行", {}, {VK_HOME}, u"1234", u"pin0"},
        {"DownAfterTheSameDestinationAgain", u"Mail", {VK_DOWN, VK_DOWN}, {VK_DOWN}, u"taro", u"abc123"},
        {"SpaceAfterTheSameDestinationAgain", u"Mail", {VK_DOWN, VK_DOWN}, {VK_SPACE}, u"taro", u"abc123"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewDriver v;
        const auto before = twoDestinations(v.d);
        ASSERT_TRUE(v.start(before));
        HWND list = v.control(ControlId::Lstidbox);
        auto chooseThenPress = [&](const std::vector<WPARAM>& keys) {
            v.choose(ControlId::cmbnamae, c.destination);
            // Tab from the destination reaches the list without choosing in it.
            SetFocus(v.field(ControlId::cmbnamae));
            v.key(GetFocus(), VK_TAB);
            ASSERT_EQ(GetFocus(), list);
            EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
            for (const WPARAM key : keys)
                v.key(list, key);
        };
        if (!c.before.empty())
            chooseThenPress(c.before);
        chooseThenPress(c.keys);
        EXPECT_EQ(v.window.Lstidbox.selectedItem(), c.chosen);
        EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), v.window.Lstidbox.listIndex);
        EXPECT_EQ(v.shown(ControlId::Lblpassword), c.password);
        EXPECT_EQ(v.file(), before);
    }
}

TEST_F(Win32ViewTest, StacksTheControlsAsDesigned)
{
    std::vector<HWND> expected; // from the top down
    const auto& stacking = form::stackingOrder();
    for (auto id = stacking.rbegin(); id != stacking.rend(); ++id)
        if (HWND control = v.control(*id))
            expected.push_back(control);
    std::vector<HWND> stacked;
    for (HWND child = GetWindow(v.view.window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        stacked.push_back(child);
    EXPECT_EQ(stacked, expected);
}

std::string fileBytes(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Win32PictureTest, DecodesThePicturesAWindowCanShowAndNothingElse)
{
    const std::string logo = fileBytes(ORVANTA_TEST_PICTURE);
    // The logo's frame header claiming 20000 by 20000 pixels.
    std::string huge = logo;
    huge.replace(huge.find("\xFF\xC0") + 5, 4, "\x4E\x20\x4E\x20");
    // Two pixels, red then blue, in a 24-bit BMP (rows bottom-up, blue-green-red, padded to 4 bytes).
    std::string bmp("BM\x3E\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0", 30);
    bmp += std::string(24, '\0') + std::string("\0\0\xFF\xFF\0\0\0\0", 8);
    struct Case {
        const char* what;
        std::string bytes;
        int width, height; // 0: no picture
    };
    const Case cases[]{{"the logo", logo, 543, 356},
                       {"a BMP", bmp, 2, 1},
                       {"more pixels than any screen", huge, 0, 0},
                       {"the logo's first bytes", logo.substr(0, 20), 0, 0},
                       {"an empty file", "", 0, 0}};
    TempDir folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.write("picture", c.bytes);
        const auto picture = view_win32::loadPicture(folder.file("picture"));
        EXPECT_EQ(std::tuple(picture.bitmap != nullptr, picture.width, picture.height),
                  std::tuple(c.width > 0, c.width, c.height));
        if (c.width == 2) {
            DIBSECTION section{};
            ASSERT_TRUE(GetObjectW(picture.bitmap.get(), sizeof section, &section));
            const auto* pixels = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
            EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFF0000U) << "red";
            EXPECT_EQ(pixels[1] & 0xFFFFFF, 0x0000FFU) << "blue";
        }
    }
    EXPECT_EQ(view_win32::loadPicture(folder.file("missing")).bitmap, nullptr);
}

TEST(Win32PictureTest, ThePictureIsThereWhenTheWindowFirstShows)
{
    ViewDriver v;
    v.d.services.programDir.write("logob.jpg", fileBytes(ORVANTA_TEST_PICTURE));
    v.view.load();
    ASSERT_TRUE(v.view.create());
    EXPECT_FALSE(IsWindowVisible(v.view.window()));
    EXPECT_TRUE(v.view.pictureShown());
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
            << "expected " << form::design(next).name;
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
    ASSERT_EQ(v.d.services.help.shown().size(), 1U);
    EXPECT_EQ(v.d.services.help.shown()[0].at(0).runs.at(0).text, u"help");

    // A key that is no help key goes on to the control.
    EXPECT_FALSE(v.press(v.control(ControlId::Lstidbox), VK_F2));
}

TEST_F(Win32ViewTest, F1WithoutTheHelpFileSaysWhere)
{
    SendMessageW(v.view.window(), WM_KEYDOWN, VK_F1, 1);
    EXPECT_EQ(v.shown(ControlId::Txtmassage), u"ヘルプなし：" + v.window.helpFile());
    EXPECT_TRUE(v.d.services.help.shown().empty());
}

// --- the clipboard and closing ----------------------------------------------------------------------

/// The window over the real clipboard, with the destination Mail chosen.
class Win32ViewClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(v.start(twoDestinations(v.d)));
        v.choose(ControlId::cmbnamae, u"Mail");
    }

    view_win32::Win32Clipboard clipboard;
    ViewDriver v{&clipboard};
};

TEST_F(Win32ViewClipboardTest, CopiesThePasswordAndTakesItOffWhenTheWindowCloses)
{
    v.choose(ControlId::Lstidbox, u"taro");
    v.click(ControlId::btnclipset);
    EXPECT_EQ(clipboard.text(), u"abc123");

    SendMessageW(v.view.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(v.view.window(), nullptr);
    EXPECT_EQ(clipboard.text(), u"");
}

// What another program copied since stays, even the very same text as the password.
TEST_F(Win32ViewClipboardTest, ClosingLeavesWhatAnotherProgramCopiedSince)
{
    v.choose(ControlId::Lstidbox, u"taro");
    v.click(ControlId::btnclipset);
    view_win32::Win32Clipboard other;
    other.setText(u"abc123");

    SendMessageW(v.view.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(clipboard.text(), u"abc123");
}

// A password copied out of its display by hand goes the way of クリップ: marked as a secret, and taken
// off the clipboard when the window closes. Cutting copies too and the display keeps its text; with
// nothing selected the clipboard keeps what it held.
TEST_F(Win32ViewClipboardTest, APasswordCopiedOutOfItsDisplayIsASecretToo)
{
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

// The message box, whose completion message names the password, and the password box of edit mode
// copy the same way, Ctrl+Insert and Shift+Delete too (the box copies and cuts those itself); a cut
// takes the text out of the password box only. Each copy leaves in time.
TEST_F(Win32ViewClipboardTest, CopiesOutOfThePasswordBoxAndTheMessageAreSecretsThatLeaveInTime)
{
    v.doubleClick(ControlId::Lstidbox, u"taro");
    v.click(ControlId::btnkousin);
    const std::u16string done = u"更新完了Mailの taro:abc123";
    for (const auto& [id, message, key, left] :
         {std::tuple{ControlId::Txtmassage, WM_CHAR, 3, done},
          std::tuple{ControlId::Txtmassage, WM_CUT, 0, done},
          std::tuple{ControlId::Txtpassnew, WM_KEYDOWN, VK_INSERT, std::u16string(u"xabc123")},
          std::tuple{ControlId::Txtpassnew, WM_CUT, 0, std::u16string(u"x")},
          std::tuple{ControlId::Txtpassnew, WM_KEYDOWN, VK_DELETE, std::u16string(u"x")}}) {
        // Ctrl+Insert and Shift+Delete, as the keyboard holds them.
        BYTE keys[256]{};
        keys[VK_CONTROL] = key == VK_INSERT ? 0x80 : 0;
        keys[VK_SHIFT] = key == VK_DELETE ? 0x80 : 0;
        SetKeyboardState(keys);
        if (id == ControlId::Txtpassnew && !v.visible(id)) {
            v.choose(ControlId::cmbnamae, u"Mail");
            v.doubleClick(ControlId::Lstidbox, u"taro");
        }
        if (id == ControlId::Txtpassnew)
            v.setText(id, u"xabc123");
        const auto length = static_cast<LPARAM>(v.shown(id).size());
        SendMessageW(v.control(id), EM_SETSEL, static_cast<WPARAM>(length - 6), length);
        SendMessageW(v.control(id), message, static_cast<WPARAM>(key), 1);
        v.pump();
        EXPECT_EQ(clipboard.text(), u"abc123") << message;
        EXPECT_TRUE(
            IsClipboardFormatAvailable(RegisterClipboardFormatW(view_win32::Win32Clipboard::kHistory)));
        EXPECT_EQ(v.window.control(id).text(), left);
        EXPECT_EQ(v.d.services.timer.waiting(), std::chrono::seconds(30));
        v.d.services.timer.expire();
        EXPECT_EQ(clipboard.text(), u"");
    }
    SetKeyboardState(std::array<BYTE, 256>{}.data());
}

// No input method composes in the password and address boxes, which take half-width text only; the
// destination box keeps it for Japanese names.
TEST_F(Win32ViewTest, TheInputMethodStaysOffInThePasswordAndAddressBoxes)
{
    for (const auto& [id, composes] :
         {std::pair{ControlId::Txtpassnew, false}, std::pair{ControlId::Txtbikouran, false},
          std::pair{ControlId::Txtnamae, true}}) {
        HIMC context = ImmGetContext(v.control(id));
        EXPECT_EQ(context != nullptr, composes) << form::design(id).name;
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

    EXPECT_TRUE(v.shown(ControlId::Txtmassage).starts_with(u"退避＆一覧書出し完了："));
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
              u"psw.ini が他で変更されたためロードを中止し、読み直しました。再度操作して下さい。");
    v.click(ControlId::btnload);
    EXPECT_EQ(v.shown(ControlId::Txtmassage), u"ＬＯＡＤ完了");
    // Restoring keeps every row; only the header rows' blank password comes back empty.
    EXPECT_EQ(v.file(), v.d.rowsFile({header(u"Mail", u"2", u""),
                                      entry(u"Mail", u"taro", u"abc123", u"taro@example.jp"),
                                      entry(u"Mail", u"hanako", u"Xy9!"), header(u"銀行", u"1", u""),
                                      entry(u"銀行", u"1234", u"pin0")}));
    EXPECT_EQ(v.listItems(ControlId::cmbnamae), (std::vector<std::u16string>{u"Mail", u"銀行"}));
}

// Wine names a floppy drive " (A:)", without the "3.5 インチ FD" of Explorer's name: the backup then
// finds it, through the system's drives and files, as the first removable drive that holds a disk.
TEST_F(Win32FloppyTest, BacksUpToAFloppyDriveWithoutItsExplorerName)
{
    host::HostDrives drives;
    if (host::toHalfwidth(drives.displayName(root)).find(u"ｲﾝﾁ FD (") != std::u16string::npos)
        GTEST_SKIP() << "the system names this drive as a floppy drive";
    auto& s = v.d.services;
    host::HostFileSystem files(drives, s.env);
    form::MainWindow window(host::Services{s.registry, s.env, files, s.codePage, s.clipboard, s.clock,
                                           s.random, s.help, drives, s.timer});
    s.windowsDir.write("psw.ini", twoDestinations(v.d));
    // Missing the floppy drive, the backup would go to the working directory's drive (here C:).
    ASSERT_TRUE(SetCurrentDirectoryW(std::filesystem::path(s.rootDir.path()).wstring().c_str()));
    window.Form_Load();
    window.btnunload_Click();
    EXPECT_TRUE(window.Txtmassage.text().starts_with(u"退避＆一覧書出し完了："));
    EXPECT_NE(floppyFile("psw.bkp").find("\"Mail\",\"taro\",\"abc123\","), std::string::npos);
}

} // namespace
} // namespace orvanta::test
