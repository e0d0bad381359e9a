#pragma once

#include "OrvantaVersion.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvanta::app {

/// Every control of the main window, in the order of the design table.
enum class ControlId : std::uint8_t {
    Txtdirectry,
    Txtmassage,
    cmbnamae,
    Lstidbox,
    btnnew,
    btnkousin,
    Txtnamae,
    Txtidbox,
    Txtpassnew,
    btndelete,
    btnnewmode,
    btnmordori,
    regprodid,
    btnload,
    btnunload,
    btnclipset,
    Lblpassword,
    Txtbikouran,
    Lblbikouran,
    btncleate,
    txtketasu,
    lblsetumei1,
    lblsetumei2,
    lblsetumei3,
    Label5,
    riyoukanou,
    Label1,
    Label2,
    Label3,
    Label4,
    Label6,
    Line1,
    Line2,
    Line3,
    Line4,
    Image1,
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::Image1) + 1;

enum class ControlKind : std::uint8_t {
    TextBox,    ///< an input box
    DisplayBox, ///< a text box used to show a value (the user cannot change it by typing)
    StorageBox, ///< a hidden text box that only holds a value for the handlers
    ComboBox,   ///< a drop-down list whose text can also be typed
    ListBox,
    Button,
    Label,
    Line,
    Picture,
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

/// Where a control stands, in twips (1/1440 inch) from the client area's top-left corner.
/// For a line, (left, top) is one end and (width, height) hold the other end's x and y.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

/// The static design of one control: everything the view needs to build its widget.
struct ControlDesign {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    std::u16string_view caption; ///< caption or initial text
    TwipRect place;
    int tabIndex = -1; ///< -1: not a tab stop
    std::u16string_view tooltip{};
    double fontPoints = 0; ///< 0: the window's default font
    bool bold = false;
    std::optional<Rgb> foreground{};
    std::optional<Rgb> background{};
};

/// The window's own design.
inline constexpr std::u16string_view kWindowCaption =
    u"Orvanta (" ORVANTA_VERSION_TEXT ")\u3000Orvanta 工房 https://orvanta.example/";
inline constexpr int kClientWidthTwips = 8145;
inline constexpr int kClientHeightTwips = 5340;
/// The one font the design names; a size in the table means this face at that size.
inline constexpr std::u16string_view kDesignFontFamily = u"ＭＳ Ｐゴシック";
/// Twips per pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

/// The design table of every control, indexed by ControlId.
const std::array<ControlDesign, kControlCount>& controlTable();
inline const ControlDesign& design(ControlId id)
{
    return controlTable()[static_cast<std::size_t>(id)];
}

} // namespace orvanta::app
