// The Windows window's controls: their classes and styles, twips to pixels at the monitor's DPI, and the
// fonts to match.
#include "Layout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvanta::view_win32 {

namespace {

/// The faces tried in turn when the design's font is missing: its Latin name, then the Japanese
/// interface fonts of later Windows versions and the fonts Wine is usually given.
constexpr std::array<const char16_t*, 6> kFallbackFaces{u"MS PGothic",   u"MS UI Gothic", u"Meiryo UI",
                                                        u"Yu Gothic UI", u"IPAPGothic",   u"VL PGothic"};
int CALLBACK faceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceExists(HDC dc, std::u16string_view face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    const auto length = std::min(face.size(), std::size(wanted.lfFaceName) - 1);
    std::copy_n(face.data(), length, wanted.lfFaceName);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, &faceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

/// How far the list of the drop-down box reaches below its field, in fields.
constexpr int kDropDownFields = 8;

} // namespace

int pixelsAt(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT placeAt(const form::ControlDesign& design, UINT dpi)
{
    const auto& p = design.place;
    if (design.kind == form::ControlKind::Line)
        // A line's place holds its two end points.
        return {pixelsAt(p.left, dpi), pixelsAt(p.top, dpi), pixelsAt(p.width, dpi), pixelsAt(p.height, dpi)};
    // Both corners are converted, so that neighbouring controls meet at 150 % as they do at 100 %.
    return {pixelsAt(p.left, dpi), pixelsAt(p.top, dpi), pixelsAt(p.left + p.width, dpi),
            pixelsAt(p.top + p.height, dpi)};
}

RECT windowAt(const form::ControlDesign& design, UINT dpi)
{
    RECT place = placeAt(design, dpi);
    if (design.kind == form::ControlKind::ComboBox)
        place.bottom = place.top + (place.bottom - place.top) * kDropDownFields;
    return place;
}

bool isBox(form::ControlKind kind)
{
    using K = form::ControlKind;
    return kind == K::TextBox || kind == K::DisplayBox || kind == K::StorageBox;
}

const wchar_t* classOf(form::ControlKind kind)
{
    switch (kind) {
    case form::ControlKind::ComboBox:
        return L"COMBOBOX";
    case form::ControlKind::ListBox:
        return L"LISTBOX";
    case form::ControlKind::Button:
        return L"BUTTON";
    case form::ControlKind::Label:
        return L"STATIC";
    default:
        return L"EDIT";
    }
}

DWORD styleOf(form::ControlKind kind)
{
    const DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
    switch (kind) {
    case form::ControlKind::ComboBox:
        // A drop-down with an edit field; the list holds only what the data file names, in its order.
        return child | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    case form::ControlKind::ListBox:
        return child | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    case form::ControlKind::Button:
        return child | BS_PUSHBUTTON;
    case form::ControlKind::Label:
        return child | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY;
    default:
        return child | ES_AUTOHSCROLL;
    }
}

DWORD exStyleOf(form::ControlKind kind)
{
    return isBox(kind) || kind == form::ControlKind::ListBox ? WS_EX_CLIENTEDGE : 0;
}

int fontHeightAt(double points, UINT dpi)
{
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

std::u16string designFace(HDC dc)
{
    std::u16string face(form::kDesignFontFamily);
    if (faceExists(dc, face))
        return face;
    const auto fallback = std::find_if(kFallbackFaces.begin(), kFallbackFaces.end(),
                                       [dc](const char16_t* name) { return faceExists(dc, name); });
    if (fallback != kFallbackFaces.end())
        return *fallback;
    // The system's own font for messages, which can show Japanese wherever Japanese is set up.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        face = reinterpret_cast<const char16_t*>(metrics.lfMessageFont.lfFaceName);
    return face;
}

} // namespace orvanta::view_win32
