// Sizes of the Windows window: twips to pixels at the monitor's DPI, and the fonts to match.
#include "Layout.h"

#include <cmath>

namespace orvanta::view_win32 {

int pixelsAt(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT placeAt(const app::ControlDesign& design, UINT dpi)
{
    const auto& p = design.place;
    if (design.kind == app::ControlKind::Line)
        // A line's place holds its two end points.
        return {pixelsAt(p.left, dpi), pixelsAt(p.top, dpi), pixelsAt(p.width, dpi), pixelsAt(p.height, dpi)};
    // Both corners are converted, so that neighbouring controls meet at 150 % as they do at 100 %.
    return {pixelsAt(p.left, dpi), pixelsAt(p.top, dpi), pixelsAt(p.left + p.width, dpi),
            pixelsAt(p.top + p.height, dpi)};
}

int fontHeightAt(double points, UINT dpi)
{
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

} // namespace orvanta::view_win32
