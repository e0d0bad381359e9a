#include "DesignColours.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace orvanta::view {

using namespace Qt::StringLiterals;

QPalette designPalette()
{
    // Each role is set one by one: a role left unset would follow the desktop's theme.
    const QPalette classic(colourOf(form::kDesignFace), colourOf(form::kDesignFace));
    QPalette palette;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        const auto group = static_cast<QPalette::ColorGroup>(g);
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = static_cast<QPalette::ColorRole>(r);
            palette.setBrush(group, role, classic.brush(group, role));
        }
        const QColor text = colourOf(group == QPalette::Disabled ? form::kDesignGreyText : form::kDesignText);
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
            palette.setColor(group, role, text);
        for (auto role : {QPalette::Base, QPalette::ToolTipBase})
            palette.setColor(group, role, colourOf(form::kDesignBoxBackground));
        for (auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase})
            palette.setColor(group, role, colourOf(form::kDesignFace));
        palette.setColor(group, QPalette::PlaceholderText, colourOf(form::kDesignGreyText));
        palette.setColor(group, QPalette::Highlight, colourOf(form::kDesignSelection));
        palette.setColor(group, QPalette::HighlightedText, colourOf(form::kDesignSelectedText));
        palette.setColor(group, QPalette::Link, colourOf(form::kDesignSelection));
    }
    return palette;
}

void keepDesignStyle()
{
    constexpr int kDarkest = 128;
    if (QApplication::style()->standardPalette().color(QPalette::Window).lightness() >= kDarkest)
        return;
    if (QStyle* fusion = QStyleFactory::create(u"Fusion"_s))
        QApplication::setStyle(fusion);
}

} // namespace orvanta::view
