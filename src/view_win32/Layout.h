#pragma once

// The Windows window's sizes from the design table at any DPI.

#include "app/ControlTable.h"

#include <windows.h>

namespace orvanta::view_win32 {

/// Twips to pixels at a monitor's dots per inch (1440 twips to the inch), rounded to the nearest pixel,
/// so the window keeps its size in inches at 100 %, 150 % or 200 %.
int pixelsAt(int twips, UINT dpi);

/// A control's place in the window's client area, in pixels at `dpi`.
RECT placeAt(const app::ControlDesign& design, UINT dpi);

/// The height of a font of `points` at `dpi`, as LOGFONT takes it (negative: the character height).
int fontHeightAt(double points, UINT dpi);

} // namespace orvanta::view_win32
