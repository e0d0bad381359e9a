// The window's design table: every control with its kind, caption, place, tab order, colours and tooltip.
#include "ControlTable.h"

#include "Screens.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace orvanta::form {

namespace {

constexpr Rgb kPink{255, 192, 192};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};

using K = ControlKind;
using I = ControlId;

// clang-format off
constexpr std::array<ControlDesign, kControlCount> kTable{{
    {I::Txtdirectry, "Txtdirectry", K::StorageBox, u"", {840, 3960, 255, 270}, 0, u""},
    {I::Txtmassage, "Txtmassage", K::DisplayBox, u"", {480, 3960, 7215, 270}, 1,
     u"アプリケーションからのメッセージを表示します。"},
    {I::cmbnamae, "cmbnamae", K::ComboBox, u"", {840, 960, 6495, 300}, 2,
     u"新規登録先 または確認したい登録先を選択して下さい。"},
    {I::Lstidbox, "Lstidbox", K::ListBox, u"", {840, 1560, 6495, 420}, 3,
     u"対象のＩＤをクリックすると確認。ダブルクリックすると変更出来ます。"},
    {I::btnnew, "btnnew", K::Button, u"登録する", {840, 3480, 1095, 375}, 4, u"登録確定ボタンです。"},
    {I::btnkousin, "btnkousin", K::Button, u"更新する", {840, 3480, 1095, 375}, 5, u"更新確定ボタンです。"},
    {I::Txtnamae, "Txtnamae", K::TextBox, u"", {840, 960, 6495, 270}, 6, u"変更する登録先を入力して下さい。"},
    {I::Txtidbox, "Txtidbox", K::TextBox, u"", {840, 1560, 6495, 270}, 7, u"変更したいＩＤ名を入力する。"},
    {I::Txtpassnew, "Txtpassnew", K::TextBox, u"", {840, 2400, 6495, 270}, 8,
     u"新規 または変更するパスワードを入力します。"},
    {I::btndelete, "btndelete", K::Button, u"削除する", {2280, 3480, 1095, 375}, 9, u"削除確定ボタンです。"},
    {I::btnnewmode, "btnnewmode", K::Button, u"登録モードヘ", {840, 3480, 1095, 375}, 10,
     u"新規登録モードに切り替えます。", 8.25},
    {I::btnmordori, "btnmordori", K::Button, u"戻る", {3720, 3480, 975, 375}, 11, u"初期画面に戻ります。"},
    {I::regprodid, "regprodid", K::StorageBox, u"", {480, 3960, 255, 270}, 12, u""},
    {I::btnload, "btnload", K::Button, u"ロード", {6360, 3480, 975, 375}, 16,
     u"フロッピーより、バックアップ情報を設定ファイルにロードします。"},
    {I::btnunload, "btnunload", K::Button, u"バックアップ", {5040, 3480, 975, 375}, 17,
     u"フロッピーにデータを退避します。", 8.25},
    {I::btnclipset, "btnclipset", K::Button, u"クリップ", {6360, 2400, 975, 255}, 18,
     u"パスワードをクリップボードにコピーします。"},
    {I::Lblpassword, "Lblpassword", K::DisplayBox, u"", {840, 2400, 6495, 270}, 19, u"パスワードが表示されます。", 0,
     false, std::nullopt, kPink},
    {I::Txtbikouran, "Txtbikouran", K::TextBox, u"", {840, 3120, 6495, 270}, 20,
     u"登録時の連絡先メールアドレスを入力します。"},
    {I::Lblbikouran, "Lblbikouran", K::DisplayBox, u"", {840, 3120, 6495, 270}, 21,
     u"登録時の連絡先メールアドレスを表示します。", 0, false, std::nullopt, kPink},
    {I::btncleate, "btncleate", K::Button, u"生成", {6360, 2400, 975, 255}, 26, u"パスワード自動生成する。"},
    {I::txtketasu, "txtketasu", K::TextBox, u"12", {6000, 2400, 375, 270}, 27, u"自動生成パスワードの桁数を入力。", 0,
     false, std::nullopt, kCyan},
    {I::lblsetumei1, "lblsetumei1", K::Label, u"登録先（プロダクト名）", {480, 720, 4935, 255}},
    {I::lblsetumei2, "lblsetumei2", K::Label, u"登録ID名", {480, 1320, 4935, 375}},
    {I::lblsetumei3, "lblsetumei3", K::Label, u"パスワード", {480, 2160, 5175, 255}},
    {I::Label5, "Label5", K::Label, u"パスワード登録時メールアドレス", {480, 2880, 2895, 255}},
    {I::riyoukanou, "riyoukanou", K::Label,
     u"利用可能文字 　 a～z　A～Z　1～9　!　#　%　*　+　-　.　/　:　<　=　>　[　]　^　_　{　}",
     {1440, 2040, 6495, 255}, -1, u"是非、お立ち寄り下さい。", 0, false, kBlue},
    {I::Label1, "Label1", K::Label, u"Orvanta", {240, 240, 3315, 360}, -1, u"", 18, true, kRed},
    {I::Label2, "Label2", K::Label, u"https://orvanta.example/", {4800, 720, 2535, 255}, -1,
     u"是非、お立ち寄り下さい。", 9, true, kBlue},
    {I::Label3, "Label3", K::Label, u"パスワード管理の Orvanta は Orvanta 工房 がお届けしています。",
     {1320, 4800, 6375, 255}, -1, u"ヘルプ情報を表示します。", 9.75, true, kBlue},
    {I::Label4, "Label4", K::Label, u"F1：ヘルプ表示", {480, 4440, 1455, 255}, -1, u"ヘルプ情報を表示します。", 9.75,
     true, kRed},
    {I::Label6, "Label6", K::Label, u"", {1440, 4920, 5415, 255}, -1, u"ヘルプ情報を表示します。", 9.75, true, kBlue},
    {I::Line1, "Line1", K::Line, u"", {1320, 2280, 7440, 2280}},
    {I::Line2, "Line2", K::Line, u"", {720, 2400, 720, 2760}},
    {I::Line3, "Line3", K::Line, u"", {720, 2760, 7440, 2760}},
    {I::Line4, "Line4", K::Line, u"", {7440, 2280, 7440, 2760}},
    {I::Image1, "Image1", K::Picture, u"", {0, 0, 8175, 5295}},
}};
// clang-format on

constexpr bool tableIsInIdOrder()
{
    for (std::size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<std::size_t>(kTable[i].id) != i)
            return false;
    return true;
}
static_assert(tableIsInIdOrder(), "the design table must list the controls in ControlId order");

/// Labels, lines and the picture are drawn on the window itself, beneath every box and button.
bool isDrawnOnWindow(const ControlDesign& d)
{
    return d.kind == K::Label || d.kind == K::Line || d.kind == K::Picture;
}

std::vector<ControlId> sortedTabStops()
{
    std::vector<ControlId> stops;
    for (const auto& d : kTable)
        if (d.tabIndex >= 0)
            stops.push_back(d.id);
    std::stable_sort(stops.begin(), stops.end(),
                     [](ControlId a, ControlId b) { return design(a).tabIndex < design(b).tabIndex; });
    return stops;
}

std::vector<ControlId> sortedStacking()
{
    std::vector<ControlId> order{I::Image1};
    for (const auto& d : kTable)
        if (isDrawnOnWindow(d) && d.id != I::Image1)
            order.push_back(d.id);
    const auto firstWindowed = static_cast<std::ptrdiff_t>(order.size());
    for (const auto& d : kTable)
        if (!isDrawnOnWindow(d))
            order.push_back(d.id);
    auto area = [](ControlId id) { return design(id).place.width * design(id).place.height; };
    std::stable_sort(order.begin() + firstWindowed, order.end(),
                     [&](ControlId a, ControlId b) { return area(a) > area(b); });
    return order;
}

} // namespace

const std::array<ControlDesign, kControlCount>& controlTable()
{
    return kTable;
}

std::u16string_view accessibleName(ControlId id)
{
    switch (id) {
    case I::cmbnamae:
    case I::Txtnamae:
        return design(I::lblsetumei1).caption;
    case I::Lstidbox:
    case I::Txtidbox:
        return design(I::lblsetumei2).caption;
    case I::Lblpassword:
    case I::Txtpassnew:
        return design(I::lblsetumei3).caption;
    case I::Lblbikouran:
    case I::Txtbikouran:
        return design(I::Label5).caption;
    case I::Txtmassage:
        return u"メッセージ";
    case I::txtketasu:
        return u"自動生成パスワードの桁数";
    case I::Txtdirectry:
        return u"データの置き場所";
    case I::regprodid:
        return u"プロダクトID";
    case I::Image1:
        return u"背景の絵";
    default:
        break;
    }
    if (design(id).kind == K::Line)
        return u"枠線";
    return design(id).caption;
}

AccessibleRole accessibleRole(ControlId id)
{
    const auto& d = design(id);
    switch (d.kind) {
    case K::TextBox:
    case K::DisplayBox:
    case K::StorageBox:
        return AccessibleRole::Text;
    case K::ComboBox:
        return AccessibleRole::ComboBox;
    case K::ListBox:
        return AccessibleRole::List;
    case K::Button:
        return AccessibleRole::Button;
    case K::Label:
        // A label without a caption draws nothing; a screen reader would only find an empty stop.
        return d.caption.empty() ? AccessibleRole::Nothing : AccessibleRole::Label;
    case K::Line:
        return AccessibleRole::Separator;
    case K::Picture:
        return AccessibleRole::Image;
    }
    return AccessibleRole::Nothing;
}

bool accessibleReadOnly(ControlId id)
{
    const auto kind = design(id).kind;
    return kind == K::DisplayBox || kind == K::StorageBox || kind == K::Label;
}

const std::vector<ControlId>& tabOrder()
{
    static const auto order = sortedTabStops();
    return order;
}

const std::vector<ControlId>& stackingOrder()
{
    static const auto order = sortedStacking();
    return order;
}

double fittedCaptionPoints(double designed, int room, const std::function<int(double)>& widthAt)
{
    const int full = widthAt(designed);
    if (full <= room || full == 0 || designed <= kSmallestCaptionPoints)
        return designed;
    // The width grows with the size: the size that fits is guessed from the width at the designed size,
    // then checked a step at a time, so that few fonts are made.
    auto onStep = [](double size) { return std::floor(size / kCaptionPointsStep) * kCaptionPointsStep; };
    double size = std::max(kSmallestCaptionPoints, onStep(designed * room / full));
    while (size > kSmallestCaptionPoints && widthAt(size) > room)
        size -= kCaptionPointsStep;
    while (size + kCaptionPointsStep < designed && widthAt(size + kCaptionPointsStep) <= room)
        size += kCaptionPointsStep;
    return size;
}

int rightTextMarginTwips(ControlId box)
{
    const auto& place = design(box).place;
    const auto& stacking = stackingOrder();
    const auto from = std::find(stacking.begin(), stacking.end(), box);
    const auto overlaps = [&place](const TwipRect& other) {
        return other.left < place.left + place.width && place.left < other.left + other.width &&
               other.top < place.top + place.height && place.top < other.top + other.height;
    };
    const auto together = [box](ControlId other) {
        constexpr Screen kScreens[] = {Screen::Initial, Screen::Registration, Screen::Edit, Screen::Result};
        return std::any_of(std::begin(kScreens), std::end(kScreens),
                           [&](Screen s) { return shownOn(box, s) && shownOn(other, s); });
    };
    int textEnds = place.left + place.width;
    // Only a control stacked above the box hides its text; the captions and lines lie beneath it.
    for (auto above = from == stacking.end() ? from : std::next(from); above != stacking.end(); ++above) {
        const auto& d = design(*above);
        if (!isDrawnOnWindow(d) && overlaps(d.place) && together(*above))
            textEnds = std::min(textEnds, d.place.left);
    }
    return std::max(place.left + place.width - textEnds, 0);
}

} // namespace orvanta::form
