#include "ui/theme/WrenlowFont.h"

#include <QFontMetricsF>
#include <QStringList>

namespace wrenlow {

QFont WrenlowFont::font(int pixelSize, QFont::Weight weight, FontDesign design, qreal tracking)
{
    QFont font(uiplatform::fontFamily(design, weight));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    if (design == FontDesign::Monospaced)
        font.setStyleHint(QFont::Monospace);
    if (tracking != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    return font;
}

bool WrenlowFont::hasTabularDigits(const QFont &font)
{
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QLatin1Char('0'));
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (!qFuzzyCompare(metrics.horizontalAdvance(QLatin1Char(digit)), width))
            return false;
    }
    return true;
}

QFont WrenlowFont::withTabularDigits(const QFont &font)
{
    if (hasTabularDigits(font))
        return font;
    QFont fallback = font;
    fallback.setFamilies(QStringList{uiplatform::tabularDigitFamily()});
    return fallback;
}

} // namespace wrenlow
