#pragma once

// The window's fonts on Linux: the design's Windows faces mapped to the IPA fonts.

#include <QFont>
#include <string_view>

namespace orvanta::view {

/// Makes the fonts the window names render on this host: the Windows Japanese faces are looked up
/// as the IPA fonts, and the application's default font becomes IPA P Gothic 9 pt.
/// Call once, after the QApplication exists and before the window is built.
void installJapaneseFonts();

/// The window's own font, and the design's face at a given size (bold where asked).
QFont windowFont();
QFont designFont(double points, bool bold);

} // namespace orvanta::view
