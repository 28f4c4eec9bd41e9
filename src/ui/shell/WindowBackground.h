#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QPixmap>
#include <QSize>

namespace wrenlow {

// The window's backdrop: a three-stop gradient from the top-left to the bottom-right corner and two softly
// blurred accent circles. The whole picture is cached per window size and appearance, so a repaint is one
// pixmap copy.
class WindowBackground
{
public:
    const QPixmap &pixmap(QSize size, Appearance appearance, qreal devicePixelRatio);

    static QPixmap render(QSize size, Appearance appearance, qreal devicePixelRatio);

private:
    QPixmap m_cached;
    QSize m_size;
    Appearance m_appearance = Appearance::Light;
};

} // namespace wrenlow
