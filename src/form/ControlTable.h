#pragma once

// The design of the window, one row per control, shared by both views so each builds the same window.

#include "OrvantaVersion.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace orvanta::form {

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
    DisplayBox, ///< a text box used to show a value or the message (the user cannot change it by typing)
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

/// The colours the design takes from the classic light desktop wherever it names none. The window
/// keeps them, and the colours it names, under any theme of the desktop: its picture is light, so the
/// light text of a dark theme would vanish on it. Only Windows' high-contrast mode replaces them.
inline constexpr Rgb kDesignText{0, 0, 0};                ///< captions, text in boxes and on buttons, lines
inline constexpr Rgb kDesignBoxBackground{255, 255, 255}; ///< boxes, the lists
inline constexpr Rgb kDesignFace{240, 240, 240};          ///< buttons and the window itself
inline constexpr Rgb kDesignGreyText{109, 109, 109};      ///< text of a control that is off
inline constexpr Rgb kDesignSelection{0, 120, 215};       ///< the chosen entry, selected text
inline constexpr Rgb kDesignSelectedText{255, 255, 255};

/// The design table of every control, indexed by ControlId.
const std::array<ControlDesign, kControlCount>& controlTable();
inline const ControlDesign& design(ControlId id)
{
    return controlTable()[static_cast<std::size_t>(id)];
}

/// What a screen reader says a control is: the caption a sighted user reads beside it (a box takes
/// the label before it, a button or a label its own caption). Both windows give it to assistive tools.
/// The destination box keeps it whatever destination it shows: the destination is its value.
std::u16string_view accessibleName(ControlId id);

/// What kind of control a screen reader says it is, after its name.
enum class AccessibleRole : std::uint8_t {
    Text,      ///< a box of one line of text
    ComboBox,  ///< a list to choose from, whose text can also be typed
    List,      ///< a list to choose one entry from
    Button,    ///< a push button
    Label,     ///< a caption
    Image,     ///< the picture
    Separator, ///< a line of the frame around the password row
    Nothing,   ///< shows nothing: assistive tools are not told of it
};
AccessibleRole accessibleRole(ControlId id);
/// Whether assistive tools are told that the user cannot change the control's text: the boxes that
/// only show a value (the password, the address, the message), the hidden storage boxes and the
/// captions. Every other box is editable.
bool accessibleReadOnly(ControlId id);

/// The controls the Tab key walks through, in the design's tab order.
const std::vector<ControlId>& tabOrder();

/// Every control from the bottom of the window to the top: the picture beneath everything, then the
/// labels and lines (a later row of the table over an earlier one), then the boxes, lists and buttons,
/// the larger beneath the smaller. Controls that share a place thus show the smaller one, so that the
/// buttons and the length box at the right end of the password row stay in sight over the long boxes.
const std::vector<ControlId>& stackingOrder();

/// A caption is never drawn smaller than this to make it fit its label.
inline constexpr double kSmallestCaptionPoints = 7;
/// The step by which a caption is drawn smaller.
inline constexpr double kCaptionPointsStep = 0.25;

/// The size a label's caption is drawn at: `designed`, or the largest size in steps of
/// kCaptionPointsStep (never below kSmallestCaptionPoints) whose caption fits `room`. `widthAt` gives
/// the caption's width at a size, in the unit of `room`. The faces that stand in for the design's font
/// run a little wider than it, and the label of usable characters must show every one of them.
double fittedCaptionPoints(double designed, int room, const std::function<int(double)>& widthAt);

} // namespace orvanta::form
