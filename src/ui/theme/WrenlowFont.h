#pragma once

#include "ui/theme/UiPlatform.h"

#include <QFont>

namespace wrenlow {

// Fonts by pixel size: the window's sizes are device-independent pixels, so a point size would draw every
// text a third larger at 96 DPI.
class WrenlowFont
{
public:
    WrenlowFont() = delete;

    // `tracking` is the extra space after each letter, in pixels.
    static QFont font(int pixelSize, QFont::Weight weight = QFont::Normal, FontDesign design = FontDesign::Default,
                      qreal tracking = 0);

    // The same font, or one whose digits share a single width when this one's do not, so that numbers keep
    // their width when they change.
    static QFont withTabularDigits(const QFont &font);
    static bool hasTabularDigits(const QFont &font);
};

} // namespace wrenlow
