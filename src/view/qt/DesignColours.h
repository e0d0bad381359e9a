#pragma once

#include "form/ControlTable.h"

#include <QColor>
#include <QPalette>

namespace orvanta::view {

inline QColor colourOf(const form::Rgb& rgb)
{
    return {rgb.red, rgb.green, rgb.blue};
}

/// The window's own colours in every role and state, so that a desktop theme, light or dark, changes
/// none of them.
QPalette designPalette();

/// A style that draws its controls in dark colours of its own (Adwaita-Dark, say) would draw black
/// captions on dark buttons whatever the window's colours: the program then takes Qt's Fusion style,
/// which draws with the window's colours. Another style is left as the desktop chose it.
void keepDesignStyle();

} // namespace orvanta::view
