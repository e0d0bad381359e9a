#pragma once

// The Windows window's controls from the design table: the system's class and styles for each kind, and
// their sizes at any DPI.

#include "form/ControlTable.h"

#include <string>
#include <windows.h>

namespace orvanta::view_win32 {

/// Twips to pixels at a monitor's dots per inch (1440 twips to the inch), rounded to the nearest pixel,
/// so the window keeps its size in inches at 100 %, 150 % or 200 %.
int pixelsAt(int twips, UINT dpi);

/// A control's place in the window's client area, in pixels at `dpi`.
RECT placeAt(const form::ControlDesign& design, UINT dpi);

/// A control's window in the client area at `dpi`: its place, except that a drop-down box's window also
/// reaches down over the list it drops.
RECT windowAt(const form::ControlDesign& design, UINT dpi);

/// The boxes that show text in an edit field: input, display and storage boxes.
bool isBox(form::ControlKind kind);

/// The system's window class that shows a control of `kind`.
const wchar_t* classOf(form::ControlKind kind);

/// The styles a control of `kind` is made with, apart from being shown.
DWORD styleOf(form::ControlKind kind);

/// The extended styles of a control of `kind`: the boxes and the list are sunken.
DWORD exStyleOf(form::ControlKind kind);

/// The height of a font of `points` at `dpi`, as LOGFONT takes it (negative: the character height).
int fontHeightAt(double points, UINT dpi);

/// The face the design's font is drawn in on this machine, for the window and its help alike: the
/// design's own, else the first of the faces that stand in for it that is there.
std::u16string designFace(HDC dc);

} // namespace orvanta::view_win32
