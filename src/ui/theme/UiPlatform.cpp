#include "ui/theme/UiPlatform.h"

#include <QFontDatabase>
#include <QWidget>

namespace wrenlow::uiplatform {

QString fontFamily(FontDesign design, QFont::Weight weight)
{
#ifdef Q_OS_MACOS
    Q_UNUSED(weight);
    if (design == FontDesign::Monospaced)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
#else
    switch (design) {
    case FontDesign::Monospaced:
        return QStringLiteral("DejaVu Sans Mono");
    case FontDesign::Rounded:
        // Debian's Quicksand names its light and medium faces as families of their own.
        if (weight <= QFont::Light)
            return QStringLiteral("Quicksand Light");
        if (weight == QFont::Medium)
            return QStringLiteral("Quicksand Medium");
        return QStringLiteral("Quicksand");
    case FontDesign::Default:
        break;
    }
    return QStringLiteral("Inter");
#endif
}

QString tabularDigitFamily()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("Helvetica Neue");
#else
    return QStringLiteral("DejaVu Sans");
#endif
}

QKeySequence scanShortcut()
{
    return QKeySequence(Qt::CTRL | Qt::Key_R);
}

void prepareWindow(QWidget *window)
{
#ifdef Q_OS_MACOS
    window->setWindowTitle(QString());
#else
    window->setWindowTitle(QStringLiteral("Wrenlow"));
#endif
}

} // namespace wrenlow::uiplatform
