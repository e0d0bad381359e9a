// The Windows Japanese faces the design names, found as the IPA fonts on this host.
#include "Fonts.h"

#include "QtText.h"
#include "form/ControlTable.h"

#include <QApplication>

namespace orvanta::view {

using namespace Qt::StringLiterals;

namespace {
/// IPA P Gothic is proportional like ＭＳ Ｐゴシック; IPA Gothic is the fixed-pitch twin of ＭＳ ゴシック.
const auto kProportional = u"IPAPGothic"_s;
const auto kFixed = u"IPAGothic"_s;
constexpr double kWindowPoints = 9;
} // namespace

void installJapaneseFonts()
{
    for (const auto& face : {toQString(form::kDesignFontFamily), u"MS PGothic"_s, u"MS UI Gothic"_s})
        QFont::insertSubstitutions(face, {kProportional, kFixed});
    for (const auto& face : {u"ＭＳ ゴシック"_s, u"MS Gothic"_s})
        QFont::insertSubstitutions(face, {kFixed, kProportional});
    QApplication::setFont(windowFont());
}

QFont windowFont()
{
    QFont font(kProportional);
    font.setPointSizeF(kWindowPoints);
    return font;
}

QFont designFont(double points, bool bold)
{
    // The design's face is IPA P Gothic here (installJapaneseFonts): named as such, the font is not
    // first looked for under its Windows name, a search of every font on the machine.
    QFont font(kProportional);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace orvanta::view
